// The placed objects in play: what happens when the chopper touches one, and how each class
// keeps to the terrain. Only the scene's roots take part; children move with their parents.
#include "content/mesh_library.h"
#include "content/scene_object.h"
#include "game/chopper.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/game_sounds.h"

fixed HitRadius(const SceneObject& object) {
  // The mesh's own size (its first level), not the node's radius, which covers its children.
  const Mesh* mesh = object.mesh;
  const fixed radius = mesh != nullptr && mesh->lodCount > 0 ? mesh->lods[0]->radius : kFixedOne;
  switch (object.objectClass) {
    case ClassHelicopter:
    case ClassVehicle:
    case ClassStructure:
      return FixedMul(radius, 49152);  // 0.75
    case ClassFuel:
    case ClassHuman:
      return FixedMul(radius, IntToFixed(3));
    default:
      return radius;
  }
}

namespace {

bool Within(fixed d, fixed r) { return WrapNeg(r) < d && d < r; }

}  // namespace

void GameWorld::TouchObjects() {
  if (objects == nullptr) return;
  const Vector3 position = chopper->GetPosition();
  for (SceneNode* node : objects->roots) {
    auto* object = static_cast<SceneObject*>(node);
    if (!object->alive || !object->active) continue;
    const fixed r = HitRadius(*object);
    const Vector3 at = object->local.GetTranslation();
    if (!Within(WrapSub(at.x, position.x), r) || !Within(WrapSub(at.y, position.y), r) ||
        !Within(WrapSub(at.z, position.z), r)) {
      continue;
    }
    switch (object->objectClass) {
      case ClassHelicopter:
      case ClassVehicle:
      case ClassStructure:
        chopper->Crash();
        break;
      case ClassFuel:
        chopper->Refuel();
        object->alive = object->active = 0;
        PostMessage(MessagePickedUpFuel);
        break;
      case ClassHuman:
        if (chopper->BoardPassenger()) {
          object->alive = object->active = 0;
          PostMessage(MessagePickedUpPassenger);
        } else {
          PostMessage(MessageNoRoom);
        }
        break;
      default:
        break;
    }
  }
}

void GameWorld::KeepObjectsOnGround() {
  if (objects == nullptr) return;
  for (SceneNode* node : objects->roots) {
    auto* object = static_cast<SceneObject*>(node);
    const Vector3 at = object->world.GetTranslation();
    object->SetGround(GroundHeight(at.x, at.z));
  }
}
