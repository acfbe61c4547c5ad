#include "content/scene_object.h"

#include "content/definition_reading.h"
#include "core/wide_string.h"

void SceneObject::SetGround(fixed height) {
  groundHeight = height;
  const fixed y = local.GetTranslation().y;
  switch (objectClass) {
    case ClassHelicopter:
      heightAboveGround = WrapSub(y, groundHeight);
      break;
    case ClassVehicle:
    case ClassStructure:
    case ClassFuel:
    case ClassHuman: {
      Matrix34 placed = local;
      Vector3 position = placed.GetTranslation();
      position.y = WrapAdd(groundHeight, heightAboveGround);
      placed.SetTranslation(position);
      SetLocal(placed);
      break;
    }
    default:
      break;
  }
}

MissionScene::~MissionScene() {
  // Deleting a child makes its parent recompute its radius from its mesh, so the objects must
  // go while the library that holds the meshes is still there.
  DeleteAllNodes();
}

namespace {

// The code of `word` in a list of words (its index), or the list's length for any other word.
template <size_t N>
uint32_t WordCode(const IniValue& word, const char16_t* const (&words)[N]) {
  for (size_t i = 0; i < N; ++i) {
    if (word.Equals(words[i])) return static_cast<uint32_t>(i);
  }
  return static_cast<uint32_t>(N);
}

constexpr const char16_t* kClassWords[] = {u"Helicopter", u"Vehicle", u"Structure", u"Fuel", u"Human"};
constexpr const char16_t* kRoleWords[] = {u"Enemy", u"Friend"};
constexpr const char16_t* kTargetWords[] = {u"Air", u"Ground", u"All"};
constexpr const char16_t* kWeaponWords[] = {u"Machinegun", u"Cannon", u"Rocket", u"GuidedRocket", u"Radar"};
constexpr const char16_t* kAttitudeWords[] = {u"Aggresive", u"Defensive"};  // the content's spelling

// "Pos" and "PosX2" give x, z, y (y up) in whole metres; `shift` is 16, or 17 for doubled values.
void PlaceAt(SceneObject& object, const IniKey& key, uint32_t shift) {
  const fixed x = static_cast<fixed>(ValueInt(key, 0) << shift);
  const fixed z = static_cast<fixed>(ValueInt(key, 1) << shift);
  const fixed y = static_cast<fixed>(ValueInt(key, 2) << shift);
  Matrix34 placed = object.local;
  placed.SetTranslation(Vector3(x, y, z));
  object.SetLocal(placed);
  object.heightAboveGround = y;
}

}  // namespace

SceneObject* CreateSceneObject(MissionScene& scene, const IniSection& section) {
  const IniKey* meshKey = KeyWithValues(section, u"Mesh", 1);
  if (meshKey == nullptr) return nullptr;
  const Mesh* mesh = scene.meshes.FindMesh(ValueText(*meshKey, 0));
  if (mesh == nullptr) return nullptr;

  auto* object = new SceneObject(&scene, section.name);
  object->SetMesh(mesh);
  if (const IniKey* k = KeyWithValues(section, u"Parent", 1)) {
    // Only objects made before this one can be found; an unknown name leaves it a root.
    if (SceneNode* parent = scene.FindNode(ValueText(*k, 0)); parent != nullptr && parent != object) {
      parent->AddChild(object);
    }
  }
  if (const IniKey* k = KeyWithValues(section, u"Pos", 3)) PlaceAt(*object, *k, 16);
  if (const IniKey* k = KeyWithValues(section, u"PosX2", 3)) PlaceAt(*object, *k, 17);
  if (const IniKey* k = KeyWithValues(section, u"YawPitchRoll", 1)) {
    Angle angles[3] = {};
    for (uint16_t i = 0; i < 3 && i < k->values.Count(); ++i) angles[i] = AngleFromDegrees(ValueInt(*k, i));
    Matrix34 rotation;
    rotation.FromYawPitchRoll(angles[0], angles[1], angles[2]);
    Matrix34 turned = object->local;
    turned.MultiplyRotation(rotation);
    object->SetLocal(turned);
  }
  if (const IniKey* k = KeyWithValues(section, u"MaxDamage", 1))
    object->maxDamage = static_cast<uint16_t>(ValueInt(*k, 0));
  if (const IniKey* k = KeyWithValues(section, u"MaxSpeed", 1)) object->maxSpeed = SpeedFromKmh(ValueInt(*k, 0));
  if (const IniKey* k = KeyWithValues(section, u"Range", 1)) object->range = static_cast<fixed>(ValueInt(*k, 0) << 16);
  if (const IniKey* k = KeyWithValues(section, u"Class", 1)) object->objectClass = WordCode(*k->values[0], kClassWords);
  if (const IniKey* k = KeyWithValues(section, u"Role", 1)) object->role = WordCode(*k->values[0], kRoleWords);
  if (const IniKey* k = KeyWithValues(section, u"Target", 1)) object->target = WordCode(*k->values[0], kTargetWords);
  if (const IniKey* k = KeyWithValues(section, u"Weapon", 1)) object->weapon = WordCode(*k->values[0], kWeaponWords);
  if (const IniKey* k = KeyWithValues(section, u"Attitude", 1)) {
    object->attitude = WordCode(*k->values[0], kAttitudeWords);
  }
  // Every "Hitpoint" key, not only the first; each goes in front, so the last one ends up first.
  for (const IniKey* key : section.keys) {
    if (!EqualsNoCase(key->name, u"Hitpoint") || key->values.Count() < 5) continue;
    auto* hitpoint = new Hitpoint;
    hitpoint->localPos =
        Vector3(static_cast<fixed>(ValueInt(*key, 0) << 16), static_cast<fixed>(ValueInt(*key, 1) << 16),
                static_cast<fixed>(ValueInt(*key, 2) << 16));
    hitpoint->value1 = ValueInt(*key, 3);
    hitpoint->value2 = ValueInt(*key, 4);
    object->AddHitpoint(hitpoint);
  }
  return object;
}
