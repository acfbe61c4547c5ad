#include "render/scene_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/scene_graph.h"

namespace {

constexpr fixed kFar = IntToFixed(800);

// Nodes without meshes, placed in metres (16.16 when `raw`), with a radius of their own; the
// camera stays at the origin looking along +z unless a test moves it, so world is view space.
class SceneViewTest : public testing::Test {
 protected:
  SceneNode* Add(fixed x, fixed y, fixed z, fixed radius, SceneNode* parent = nullptr) {
    auto* node = new SceneNode(
        &scene, (u"N" + std::u16string(1, static_cast<char16_t>(u'0' + scene.nodes.Count() % 10))).c_str());
    Matrix34 placement;
    placement.SetTranslation(Vector3(x, y, z));
    node->SetLocal(placement);
    node->radius = radius;
    if (parent != nullptr) parent->AddChild(node);
    return node;
  }
  SceneNode* AddMetres(int32_t x, int32_t y, int32_t z, int32_t radius = 1, SceneNode* parent = nullptr) {
    return Add(IntToFixed(x), IntToFixed(y), IntToFixed(z), IntToFixed(radius), parent);
  }
  // The listed nodes in the order they were accepted, and nearest first.
  std::vector<const SceneNode*> Accepted() const {
    std::vector<const SceneNode*> nodes;
    for (uint16_t i = 0; i < view.visibleCount; ++i) nodes.push_back(view.entries[i].object);
    return nodes;
  }
  std::vector<const SceneNode*> Ordered() const {
    std::vector<const SceneNode*> nodes;
    for (uint16_t i = 0; i < view.visibleCount; ++i) nodes.push_back(view.entries[view.order[i]].object);
    return nodes;
  }
  const VisibleObject* EntryOf(const SceneNode* node) const {
    for (uint16_t i = 0; i < view.visibleCount; ++i) {
      if (view.entries[i].object == node) return &view.entries[i];
    }
    return nullptr;
  }

  SceneGraph scene;
  SceneView view{&scene};
};

TEST_F(SceneViewTest, ProjectionFactorsFollowTheSurfaceSize) {
  view.Prepare(240, 320, kFar);
  // 1.7 tan(30 degrees) and 1.7 tan(40 degrees).
  EXPECT_NEAR(view.projX, 0.981495 * 65536, 2);
  EXPECT_NEAR(view.projY, 1.426468 * 65536, 2);
  const fixed narrow = view.projX;
  const fixed tall = view.projY;
  view.Prepare(320, 240, kFar);
  EXPECT_EQ(view.projX, tall);
  EXPECT_EQ(view.projY, narrow);
  EXPECT_EQ(view.cachedWidth, 320);
  EXPECT_EQ(view.cachedHeight, 240);
}

TEST_F(SceneViewTest, PositionsWrapAroundTheWorldInViewSpace) {
  const struct {
    int32_t x, z;  // metres, view space
    int32_t wrappedX, wrappedZ;
  } cases[] = {
      {0, -600, 0, 1448},  {0, 2100, 0, 52},         {0, 2048, 0, 2048},  // 2048 itself is not past the limit
      {0, -4700, 0, 1444}, {1100, 1500, -948, 1500}, {-1030, 1500, 1018, 1500},
  };
  for (const auto& c : cases) {
    SceneGraph single;
    SceneView singleView(&single);
    auto* node = new SceneNode(&single, u"Wrapped");
    Matrix34 placement;
    placement.SetTranslation(Vector3(IntToFixed(c.x), 0, IntToFixed(c.z)));
    node->SetLocal(placement);
    node->radius = IntToFixed(700);  // wide enough to stay on screen wherever it lands
    singleView.Prepare(240, 320, IntToFixed(4000));
    ASSERT_EQ(singleView.visibleCount, 1) << c.x << " " << c.z;
    EXPECT_EQ(singleView.entries[0].transform.GetTranslation(),
              Vector3(IntToFixed(c.wrappedX), 0, IntToFixed(c.wrappedZ)))
        << c.x << " " << c.z;
  }
}

TEST_F(SceneViewTest, TheViewIsTheInverseOfTheCameraPlacement) {
  SceneNode* ahead = AddMetres(110, 0, 100);
  SceneNode* behind = AddMetres(90, 0, 100);
  Matrix34 camera;
  camera.FromYawPitchRoll(16384, 0, 0);  // looking along world +x
  camera.SetTranslation(Vector3(IntToFixed(100), 0, IntToFixed(100)));
  view.SetCamera(camera);
  view.Prepare(240, 320, kFar);
  ASSERT_EQ(Accepted(), std::vector<const SceneNode*>{ahead});
  EXPECT_EQ(EntryOf(ahead)->transform.GetTranslation(), Vector3(0, 0, IntToFixed(10)));
  EXPECT_EQ(EntryOf(behind), nullptr);
}

TEST_F(SceneViewTest, DepthAndSidewaysCulling) {
  const struct {
    const char* what;
    fixed x, y, z, radius;
    bool listed;
  } cases[] = {
      {"ahead", 0, 0, IntToFixed(10), kFixedOne, true},
      {"behind", 0, 0, IntToFixed(-5), IntToFixed(2), false},
      {"reaching just to 1.0", 0, 0, kFixedHalf, kFixedHalf, false},
      {"reaching past 1.0", 0, 0, kFixedHalf, kFixedHalf + 1, true},
      {"nearest point at the far distance", 0, 0, kFar + kFixedOne, kFixedOne, false},
      {"nearest point inside the far distance", 0, 0, kFar + kFixedOne - 1, kFixedOne, true},
      {"far to the right", IntToFixed(30), 0, IntToFixed(10), kFixedOne, false},
      {"edge reaching in from the right", IntToFixed(5), 0, IntToFixed(10), kFixedOne, true},
      {"far to the left", IntToFixed(-30), 0, IntToFixed(10), kFixedOne, false},
      {"high above: only the width is tested", 0, IntToFixed(500), IntToFixed(10), kFixedOne, true},
  };
  for (const auto& c : cases) {
    SceneGraph single;
    SceneView singleView(&single);
    auto* node = new SceneNode(&single, u"Tested");
    Matrix34 placement;
    placement.SetTranslation(Vector3(c.x, c.y, c.z));
    node->SetLocal(placement);
    node->radius = c.radius;
    singleView.Prepare(240, 320, kFar);
    EXPECT_EQ(singleView.visibleCount, c.listed ? 1 : 0) << c.what;
  }
}

TEST_F(SceneViewTest, AnObjectStraddlingTheCameraPlaneKeepsItsWholeRadius) {
  SceneNode* straddling = Add(0, 0, kFixedHalf, IntToFixed(3));
  SceneNode* distant = AddMetres(0, 0, 100, 3);
  view.Prepare(240, 320, kFar);
  ASSERT_NE(EntryOf(straddling), nullptr);
  EXPECT_EQ(EntryOf(straddling)->projectedRadius, IntToFixed(3));  // divided by 1.0, not by 0.49
  ASSERT_NE(EntryOf(distant), nullptr);
  EXPECT_EQ(EntryOf(distant)->projectedRadius, FixedDiv(IntToFixed(3), FixedMul(view.projX, IntToFixed(100))));
}

TEST_F(SceneViewTest, AtMostAHundredObjectsInListOrder) {
  std::vector<SceneNode*> nodes;
  for (int32_t i = 0; i < 120; ++i) nodes.push_back(AddMetres(0, 0, 200 - i));  // later ones nearer
  view.Prepare(240, 320, kFar);
  ASSERT_EQ(view.visibleCount, 100);
  const std::vector<const SceneNode*> accepted = Accepted();
  EXPECT_EQ(accepted, std::vector<const SceneNode*>(nodes.begin(), nodes.begin() + 100));
  const std::vector<const SceneNode*> ordered = Ordered();
  EXPECT_EQ(ordered, std::vector<const SceneNode*>(accepted.rbegin(), accepted.rend()));  // nearest first
}

TEST_F(SceneViewTest, ChildrenFollowTheirAcceptedParentsOnly) {
  SceneNode* first = AddMetres(0, 0, 50);
  SceneNode* olderChild = AddMetres(0, 0, 1, 1, first);
  SceneNode* grandchild = AddMetres(0, 0, 1, 1, olderChild);
  SceneNode* youngerChild = AddMetres(1, 0, 0, 1, first);  // linked in front of its sibling
  SceneNode* rejected = AddMetres(0, 0, -50);              // behind the camera
  // Its child is moved after joining, so the parent's radius does not reach it: the child is in
  // view (world z 50) but never considered.
  SceneNode* unseen = AddMetres(0, 0, 0, 1, rejected);
  Matrix34 ahead;
  ahead.SetTranslation(Vector3(0, 0, IntToFixed(100)));
  unseen->SetLocal(ahead);
  SceneNode* hidden = AddMetres(0, 0, 30);
  hidden->active = 0;
  AddMetres(0, 0, 1, 1, hidden);
  SceneNode* last = AddMetres(0, 0, 20);
  view.Prepare(240, 320, kFar);
  EXPECT_EQ(Accepted(), (std::vector<const SceneNode*>{first, youngerChild, olderChild, grandchild, last}));
}

TEST_F(SceneViewTest, TheCapacityCountsChildrenToo) {
  for (int32_t i = 0; i < 99; ++i) AddMetres(0, 0, 10 + i);
  SceneNode* parent = AddMetres(0, 0, 5);
  AddMetres(0, 0, 1, 1, parent);
  view.Prepare(240, 320, kFar);
  ASSERT_EQ(view.visibleCount, 100);
  EXPECT_EQ(view.entries[99].object, parent);
}

TEST_F(SceneViewTest, EqualDepthsKeepTheOrderOfTheExchange) {
  SceneNode* a = AddMetres(0, 0, 5);
  SceneNode* b = AddMetres(0, 0, 3);
  SceneNode* c = AddMetres(0, 0, 5);
  SceneNode* d = AddMetres(0, 0, 1, 2);
  view.Prepare(240, 320, kFar);
  // Worked by hand: [a b c d] -> [b a c d] -> [d a c b] -> [d b c a]; c ends before a.
  EXPECT_EQ(Ordered(), (std::vector<const SceneNode*>{d, b, c, a}));
}

}  // namespace
