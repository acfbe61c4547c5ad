#include "landscape.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

constexpr int kSide = kTexels;  // the working grid: one height and one colour per texel

struct Field {
  std::vector<float> values = std::vector<float>(size_t{kSide} * kSide, 0.0f);
  float& At(int x, int z) { return values[size_t(z & (kSide - 1)) * kSide + (x & (kSide - 1))]; }
  float At(int x, int z) const { return values[size_t(z & (kSide - 1)) * kSide + (x & (kSide - 1))]; }
};

// Shortest distance on the wrapping map, in metres.
float WrappedDistance(float x0, float z0, float x1, float z1) {
  float dx = std::fabs(x0 - x1);
  float dz = std::fabs(z0 - z1);
  dx = std::min(dx, kWorldSize - dx);
  dz = std::min(dz, kWorldSize - dz);
  return std::sqrt(dx * dx + dz * dz);
}

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

Colour Jitter(const Colour& c, float amount) { return Scale(c, 1 + amount); }

// 1 inside `inner`, 0 beyond `outer`, smooth between.
float Falloff(float distance, float inner, float outer) { return 1 - SmoothStep(inner, outer, distance); }

// ---------------------------------------------------------------------------------------------
// Shapes of the ground

// Terraced walls: mostly flat ledges joined by short steep steps.
float Terraces(float t, int steps) {
  const float scaled = t * steps;
  const float base = std::floor(scaled);
  return (base + SmoothStep(0.55f, 1.0f, scaled - base)) / steps;
}

// How open the ground is around the sites (1 within reach), with a wobbly edge so the clearings
// do not come out as circles.
float SiteClearing(const std::vector<Site>& sites, int x, int z, float inner, float outer, float wobble) {
  float open = 0;
  for (const Site& site : sites) {
    const float d = WrappedDistance(x * kMetresPerTexel, z * kMetresPerTexel, site.x, site.z) + wobble;
    open = std::max(open, Falloff(d, site.radius + inner, site.radius + outer));
  }
  return open;
}

// Islands: a sea at `waterLevel` with islands whose land rises from beaches to wooded hills and
// rocky peaks. `land` keeps the underlying potential (negative under water: the sea's depth).
void ShapeIslands(Field& height, Field& land, const std::vector<Site>& sites, float waterLevel, uint32_t seed) {
  for (int z = 0; z < kSide; ++z) {
    for (int x = 0; x < kSide; ++x) {
      const float u = static_cast<float>(x) / kSide;
      const float v = static_cast<float>(z) / kSide;
      float potential = 0.75f * Fbm(u, v, 3, 6, 0.5f, seed) + 0.35f * Fbm(u, v, 8, 3, 0.5f, seed + 11) - 0.06f;
      // Every site stands on dry land with some room around it.
      const float wobble = 70 * Fbm(u, v, 10, 2, 0.5f, seed + 47);
      potential = std::max(potential, 0.2f * SiteClearing(sites, x, z, 30, 200, wobble) - 0.04f);
      land.At(x, z) = potential;
      if (potential <= 0) {
        height.At(x, z) = waterLevel;
        continue;
      }
      const float ridge = 1 - std::fabs(Fbm(u, v, 6, 4, 0.5f, seed + 23));
      const float hills = 170 * std::pow(potential, 1.6f) * (0.7f + 0.5f * ridge * ridge);
      const float bumps = 5 * Fbm(u, v, 32, 3, 0.5f, seed + 31) * SmoothStep(0, 0.08f, potential);
      height.At(x, z) = waterLevel + 0.6f + 30 * potential + hills + bumps;
    }
  }
}

// Canyons: a high desert plateau cut by broad valleys and narrow winding canyons with stepped
// walls, buttes left standing on the valley floors. `land` keeps how deep in a valley each point
// lies (0 on the plateau, 1 on the floor).
void ShapeCanyons(Field& height, Field& land, const std::vector<Site>& sites, uint32_t seed) {
  for (int z = 0; z < kSide; ++z) {
    for (int x = 0; x < kSide; ++x) {
      const float u = static_cast<float>(x) / kSide;
      const float v = static_cast<float>(z) / kSide;
      // The rim stays within about 80 m of the floor: a helicopter may hold at most 100 m over
      // the ground, and must be able to hop from a valley onto the plateau.
      const float plateau = 72 + 14 * Fbm(u, v, 4, 4, 0.5f, seed + 3);
      const float floorHeight = 16 + 3 * Fbm(u, v, 16, 2, 0.5f, seed + 5);
      const float valley = SmoothStep(0.05f, 0.16f, Fbm(u, v, 3, 4, 0.5f, seed + 51));
      const float canyon = 1 - SmoothStep(0.025f, 0.07f, std::fabs(Fbm(u, v, 2, 5, 0.55f, seed)));
      float depth = std::max(valley, canyon);
      // Buttes: round remnants of the plateau standing on the floor.
      const float butte = Fbm(u, v, 12, 2, 0.5f, seed + 41);
      depth = std::min(depth, 1 - SmoothStep(0.42f, 0.5f, butte));
      // The bases lie on open valley floors.
      const float wobble = 80 * Fbm(u, v, 8, 3, 0.5f, seed + 61);
      depth = std::max(depth, SiteClearing(sites, x, z, 70, 200, wobble));
      land.At(x, z) = depth;
      const float wall = Terraces(1 - depth, 2);
      height.At(x, z) = floorHeight + (plateau - floorHeight) * wall + 1.2f * Fbm(u, v, 48, 2, 0.5f, seed + 7);
    }
  }
}

// Levels the ground under every site: flat within its radius at the mean height there, blended
// into the surrounding ground over as much again.
void LevelSites(Field& height, const std::vector<Site>& sites, float lowest) {
  for (const Site& site : sites) {
    const int cx = static_cast<int>(std::lround(site.x / kMetresPerTexel));
    const int cz = static_cast<int>(std::lround(site.z / kMetresPerTexel));
    const int reach = static_cast<int>(std::ceil(site.radius * 2 / kMetresPerTexel)) + 1;
    float sum = 0;
    int count = 0;
    for (int dz = -reach; dz <= reach; ++dz) {
      for (int dx = -reach; dx <= reach; ++dx) {
        if (std::hypot(dx * kMetresPerTexel, dz * kMetresPerTexel) <= site.radius) {
          sum += height.At(cx + dx, cz + dz);
          ++count;
        }
      }
    }
    const float level = std::max(lowest, count > 0 ? sum / count : lowest);
    for (int dz = -reach; dz <= reach; ++dz) {
      for (int dx = -reach; dx <= reach; ++dx) {
        const float d = std::hypot(dx * kMetresPerTexel, dz * kMetresPerTexel);
        const float keep = SmoothStep(site.radius, site.radius * 2, d);
        float& h = height.At(cx + dx, cz + dz);
        h = level + (h - level) * keep;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Colours of the ground

struct Lighting {
  float sunX, sunY, sunZ;  // unit vector toward the sun
  float ambient;
  bool shadows;
};

// Brightness of the ground from its slope toward the sun (1.0 for flat open ground) and, where
// wanted, from the shadows that higher ground throws.
Field Shading(const Field& height, const Lighting& light) {
  Field shade;
  const float flat = light.ambient + (1 - light.ambient) * light.sunY;
  for (int z = 0; z < kSide; ++z) {
    for (int x = 0; x < kSide; ++x) {
      const float dx = (height.At(x + 1, z) - height.At(x - 1, z)) / (2 * kMetresPerTexel);
      const float dz = (height.At(x, z + 1) - height.At(x, z - 1)) / (2 * kMetresPerTexel);
      const float length = std::sqrt(dx * dx + dz * dz + 1);
      const float lit = std::max(0.0f, (-dx * light.sunX + light.sunY - dz * light.sunZ) / length);
      float direct = lit;
      if (light.shadows && lit > 0) {
        // March toward the sun; the ground is in shadow where the ray passes under the terrain.
        const float horizontal = std::sqrt(light.sunX * light.sunX + light.sunZ * light.sunZ);
        const float rise = light.sunY / horizontal;
        float px = static_cast<float>(x), pz = static_cast<float>(z);
        const float stepX = light.sunX / horizontal * 2, stepZ = light.sunZ / horizontal * 2;
        float ray = height.At(x, z) + 0.5f;
        for (int step = 0; step < 120 && ray < 200; ++step) {
          px += stepX;
          pz += stepZ;
          ray += rise * 2 * kMetresPerTexel;
          const float ground = height.At(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(pz)));
          if (ground > ray) {
            direct = 0;
            break;
          }
        }
      }
      shade.At(x, z) = (light.ambient + (1 - light.ambient) * direct) / flat;
    }
  }
  return shade;
}

Colour IslandGround(const Field& height, const Field& land, float waterLevel, int x, int z, uint32_t seed) {
  const float u = static_cast<float>(x) / kSide;
  const float v = static_cast<float>(z) / kSide;
  const float h = height.At(x, z) - waterLevel;
  const float potential = land.At(x, z);
  const float mottle = HashUnit(static_cast<uint32_t>(x), static_cast<uint32_t>(z), seed, 1) - 0.5f;
  if (potential <= 0 && h <= 0.01f) {
    // Sea: turquoise shallows over sand, deepening to dark blue; long gentle swell lines.
    const float depth = -potential;
    Colour sea = Mix(Rgb(72, 190, 186), Rgb(34, 124, 172), SmoothStep(0.0f, 0.045f, depth));
    sea = Mix(sea, Rgb(20, 70, 136), SmoothStep(0.045f, 0.18f, depth));
    const float swell = std::sin((u * 9 + v * 14) * 6.2831853f * 4 + 3 * Fbm(u, v, 8, 2, 0.5f, seed + 61));
    sea = Jitter(sea, 0.015f * swell + 0.025f * mottle);
    const float foam = 1 - SmoothStep(0.0f, 0.012f, depth);
    return Mix(sea, Rgb(225, 240, 235), 0.7f * foam);
  }
  const float slope = std::hypot(height.At(x + 1, z) - height.At(x - 1, z), height.At(x, z + 1) - height.At(x, z - 1)) /
                      (2 * kMetresPerTexel);
  const float meadow = Fbm(u, v, 12, 3, 0.5f, seed + 71);
  Colour grass = Mix(Rgb(84, 142, 56), Rgb(138, 168, 78), Clamp01(0.5f + meadow));
  grass = Jitter(grass, 0.08f * mottle);
  // Woods: dark crowns with lighter tops, thinning out on steep and high ground.
  const float woods = Fbm(u, v, 10, 4, 0.5f, seed + 83) + 0.15f - 0.004f * h - 0.4f * slope;
  if (woods > 0) {
    const float crown = HashUnit(static_cast<uint32_t>(x) / 2, static_cast<uint32_t>(z) / 2, seed, 2);
    const Colour tree = Mix(Rgb(34, 82, 38), Rgb(58, 112, 48), crown);
    grass = Mix(grass, tree, SmoothStep(0.0f, 0.08f, woods));
  }
  // Sand on the beaches.
  const Colour sand = Jitter(Rgb(222, 206, 158), 0.05f * mottle);
  Colour ground = Mix(sand, grass, SmoothStep(1.2f, 3.2f, h + 1.5f * meadow));
  // Bare rock on cliffs and peaks.
  const Colour rock = Jitter(Mix(Rgb(118, 112, 100), Rgb(150, 142, 128), Clamp01(0.5f + meadow)), 0.1f * mottle);
  const float bare = std::max(SmoothStep(0.55f, 0.95f, slope), SmoothStep(105.0f, 140.0f, h + 15 * meadow));
  return Mix(ground, rock, bare);
}

// Rock layers of the canyon walls, from the floor up, each band about 7 m thick.
Colour Strata(float h) {
  static const Colour kBands[] = {Rgb(186, 104, 64),  Rgb(214, 150, 96),  Rgb(168, 88, 58),  Rgb(226, 186, 132),
                                  Rgb(196, 120, 76),  Rgb(150, 80, 56),   Rgb(220, 164, 108), Rgb(204, 136, 88),
                                  Rgb(232, 198, 146), Rgb(176, 98, 66),   Rgb(210, 142, 90),  Rgb(160, 90, 62),
                                  Rgb(224, 176, 120), Rgb(190, 112, 70),  Rgb(214, 160, 106), Rgb(172, 94, 60),
                                  Rgb(228, 190, 136), Rgb(200, 128, 80)};
  constexpr int kCount = sizeof(kBands) / sizeof(kBands[0]);
  const float band = std::max(0.0f, h / 7.0f);
  const int i = std::min(static_cast<int>(band), kCount - 2);
  return Mix(kBands[i], kBands[i + 1], SmoothStep(0.8f, 1.0f, band - std::floor(band)));
}

Colour CanyonGround(const Field& height, const Field& land, int x, int z, uint32_t seed) {
  const float u = static_cast<float>(x) / kSide;
  const float v = static_cast<float>(z) / kSide;
  const float h = height.At(x, z);
  const float mottle = HashUnit(static_cast<uint32_t>(x), static_cast<uint32_t>(z), seed, 3) - 0.5f;
  const float slope = std::hypot(height.At(x + 1, z) - height.At(x - 1, z), height.At(x, z + 1) - height.At(x, z - 1)) /
                      (2 * kMetresPerTexel);
  const float wobble = Fbm(u, v, 24, 2, 0.5f, seed + 91);
  const Colour wall = Jitter(Strata(h + 5 * wobble), 0.06f * mottle);
  // Valley floors: pale sand in ripples, a dry river bed, sparse dark scrub.
  const float ripples = std::sin((u * 31 + v * 17 + 0.4f * Fbm(u, v, 16, 2, 0.5f, seed + 93)) * 6.2831853f * 6);
  Colour floor = Jitter(Rgb(214, 178, 128), 0.04f * ripples + 0.05f * mottle);
  const float riverBed = 1 - SmoothStep(0.005f, 0.03f, std::fabs(Fbm(u, v, 3, 5, 0.5f, seed)));
  floor = Mix(floor, Rgb(232, 210, 168), 0.8f * riverBed);
  // Plateau tops: dusty ochre ground with darker weathered patches.
  const float patches = SmoothStep(0.1f, 0.3f, Fbm(u, v, 20, 3, 0.5f, seed + 97));
  Colour top = Jitter(Mix(Rgb(204, 146, 96), Rgb(176, 118, 78), Clamp01(0.5f + wobble)), 0.06f * mottle);
  top = Mix(top, Rgb(150, 100, 70), 0.5f * patches);
  const float scrubChance = HashUnit(static_cast<uint32_t>(x), static_cast<uint32_t>(z), seed, 4);
  const float depth = land.At(x, z);
  Colour flat = Mix(top, floor, SmoothStep(0.6f, 0.9f, depth));
  if (scrubChance < 0.035f) flat = Mix(flat, Rgb(96, 100, 58), 0.75f);
  return Mix(flat, wall, SmoothStep(0.25f, 0.6f, slope));
}

// ---------------------------------------------------------------------------------------------
// Painted sites

void PaintSite(std::vector<Colour>& colours, const Site& site) {
  const auto at = [&colours](int x, int z) -> Colour& {
    return colours[size_t(z & (kSide - 1)) * kSide + (x & (kSide - 1))];
  };
  const int cx = static_cast<int>(std::lround(site.x / kMetresPerTexel));
  const int cz = static_cast<int>(std::lround(site.z / kMetresPerTexel));
  if (site.ground == SiteGround::kHelipad) {
    // 16 x 16 texels (32 m), on whole blocks so each block holds at most the two paints.
    constexpr int kPad = 16;
    const int left = ((cx - kPad / 2 + 2) & ~3);
    const int top = ((cz - kPad / 2 + 2) & ~3);
    const Colour asphalt = Rgb(58, 60, 64);
    const Colour paint = Rgb(236, 236, 228);
    for (int dz = 0; dz < kPad; ++dz) {
      for (int dx = 0; dx < kPad; ++dx) {
        const bool border = dx == 1 || dz == 1 || dx == kPad - 2 || dz == kPad - 2;
        const bool inFrame = dx >= 1 && dz >= 1 && dx <= kPad - 2 && dz <= kPad - 2;
        const bool bars = (dx == 5 || dx == 6 || dx == 9 || dx == 10) && dz >= 4 && dz <= 11;
        const bool crossbar = dx >= 7 && dx <= 8 && dz >= 7 && dz <= 8;
        at(left + dx, top + dz) = (inFrame && (border || bars || crossbar)) ? paint : asphalt;
      }
    }
    return;
  }
  if (site.ground == SiteGround::kUnchanged) return;
  const Colour ground = site.ground == SiteGround::kConcrete ? Rgb(168, 166, 158) : Rgb(146, 124, 92);
  const int reach = static_cast<int>(std::ceil(site.radius / kMetresPerTexel)) + 2;
  for (int dz = -reach; dz <= reach; ++dz) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const float d = std::hypot(dx * kMetresPerTexel, dz * kMetresPerTexel);
      const float cover = 1 - SmoothStep(site.radius - 1, site.radius + 3, d);
      if (cover <= 0) continue;
      const float grain = HashUnit(static_cast<uint32_t>(cx + dx), static_cast<uint32_t>(cz + dz), 5) - 0.5f;
      Colour& c = at(cx + dx, cz + dz);
      c = Mix(c, Jitter(ground, 0.06f * grain), cover);
    }
  }
}

Rgb8 ToRgb8(const Colour& c) {
  const auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255)); };
  return {byte(c.r), byte(c.g), byte(c.b)};
}

}  // namespace

SunDirection SunOf(LandscapeStyle style) {
  if (style == LandscapeStyle::kIslands) return {0.8660254f, 0.5f, 0.0f};
  return {-0.8829476f, 0.4694716f, 0.0f};
}

Landscape GenerateLandscape(LandscapeStyle style, const std::vector<Site>& sites, uint32_t seed) {
  Field height;
  Field land;
  Landscape landscape;
  Lighting light{};
  if (style == LandscapeStyle::kIslands) {
    landscape.waterLevel = 2.0f;
    ShapeIslands(height, land, sites, landscape.waterLevel, seed);
    LevelSites(height, sites, landscape.waterLevel + 1.0f);
    light = {0, 0, 0, 0.45f, false};
  } else {
    ShapeCanyons(height, land, sites, seed);
    LevelSites(height, sites, 0.0f);
    // A low sun: the cliffs throw long shadows.
    light = {0, 0, 0, 0.5f, true};
  }
  const SunDirection sun = SunOf(style);
  light.sunX = sun.x;
  light.sunY = sun.y;
  light.sunZ = sun.z;
  const Field shade = Shading(height, light);

  std::vector<Colour> colours(size_t{kSide} * kSide);
  for (int z = 0; z < kSide; ++z) {
    for (int x = 0; x < kSide; ++x) {
      colours[size_t(z) * kSide + x] = style == LandscapeStyle::kIslands
                                           ? IslandGround(height, land, landscape.waterLevel, x, z, seed)
                                           : CanyonGround(height, land, x, z, seed);
    }
  }
  for (const Site& site : sites) PaintSite(colours, site);
  landscape.texels.resize(colours.size());
  for (int z = 0; z < kSide; ++z) {
    for (int x = 0; x < kSide; ++x) {
      const size_t i = size_t(z) * kSide + x;
      // The sea is lit evenly: its surface is flat whatever the ground below does.
      const bool sea = style == LandscapeStyle::kIslands && land.At(x, z) <= 0 &&
                       height.At(x, z) <= landscape.waterLevel + 0.01f;
      landscape.texels[i] = ToRgb8(sea ? colours[i] : Scale(colours[i], shade.At(x, z)));
    }
  }
  landscape.heights = std::move(height.values);
  landscape.sky = GenerateSky(style, seed + 1000);
  return landscape;
}

std::vector<uint16_t> HeightSamples(const Landscape& landscape) {
  std::vector<uint16_t> samples(size_t{kHeightSamples} * kHeightSamples);
  for (int z = 0; z < kHeightSamples; ++z) {
    for (int x = 0; x < kHeightSamples; ++x) {
      const float metres = landscape.heights[size_t(z * 2) * kSide + x * 2];
      samples[size_t(z) * kHeightSamples + x] =
          static_cast<uint16_t>(std::clamp(std::lround(metres * kHeightUnitsPerMetre), 0L, 65535L));
    }
  }
  return samples;
}
