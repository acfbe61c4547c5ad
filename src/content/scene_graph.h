// The object hierarchy of a mission: nodes placed relative to their parents, and the scene that
// holds them.
//
// A node's `local` places it relative to its parent (or in the world when it has none); its
// `world` is `local` combined with the parent's `world` and is kept up to date by SetLocal for
// the whole subtree. The scene keeps every node in creation order (`nodes`) and the nodes
// without a parent (`roots`), which are the ones the game's rules and the renderer start from.
// A node adds itself to its scene when it is made and takes itself out when it is deleted.
#pragma once

#include <cstdint>

#include "content/ini.h"
#include "core/fixed.h"
#include "core/matrix34.h"
#include "core/ptr_array.h"
#include "core/vector3.h"

class Mesh;
class SceneGraph;

// A point of an object's frame with two values that are stored for the content and read by
// nothing else.
struct Hitpoint {
  Vector3 localPos;  // in the node's frame, 16.16 metres
  Vector3 worldPos;  // localPos through the node's world transform, kept up to date
  uint32_t value1 = 0;
  Hitpoint* next = nullptr;
  uint32_t value2 = 0;
};

class SceneNode {
 public:
  // The name is cut to 24 characters. `owner` may be null (a node outside any scene).
  SceneNode(SceneGraph* owner, const char16_t* nodeName);
  // Leaves the parent, deletes the children with their subtrees and the hit points, and takes
  // the node out of its scene.
  virtual ~SceneNode();
  SceneNode(const SceneNode&) = delete;
  SceneNode& operator=(const SceneNode&) = delete;

  // Sets `local` and recomputes `world` here and in every descendant, with the hit points.
  void SetLocal(const Matrix34& matrix);
  // Sets `parent` and tells the scene whether the node is now a root; the child lists are left
  // to AddChild and RemoveChild.
  void SetParent(SceneNode* node);
  // Links `child` in front of the children (taking it from a former parent first), places it
  // under this node and grows the radius to cover it.
  void AddChild(SceneNode* child);
  // Unlinks `child`, which becomes a root placed in the world by its own `local`.
  void RemoveChild(SceneNode* child);
  // The mesh (not owned; it belongs to the scene's mesh library) sets the node's own radius.
  void SetMesh(const Mesh* newMesh);
  // The node owns the hit point from now on; it goes in front of the list.
  void AddHitpoint(Hitpoint* hitpoint);
  // Unlinks the hit point; the caller owns it again.
  void RemoveHitpoint(Hitpoint* hitpoint);

  char16_t name[kIniNameSize] = {};
  SceneGraph* scene;
  SceneNode* parent = nullptr;
  SceneNode* nextSibling = nullptr;
  SceneNode* firstChild = nullptr;
  Matrix34 local;  // relative to the parent, or in the world for a root
  Matrix34 world;
  fixed radius = 0;               // bounding radius of the node and its descendants, 16.16 metres
  Hitpoint* hitpoints = nullptr;  // owned list
  const Mesh* mesh = nullptr;
  uint8_t alive = 1;   // cleared by the game when destroyed or picked up
  uint8_t active = 1;  // cleared by the game when picked up; a cleared node is not drawn

 private:
  // The first level's radius of the mesh, widened for each child by the length of its local
  // offset plus its own radius. Children placed after they were added are not counted again.
  void UpdateRadius();
};

class SceneGraph {
 public:
  SceneGraph() = default;
  // Deletes every node through the roots (each root takes its subtree with it).
  virtual ~SceneGraph();
  SceneGraph(const SceneGraph&) = delete;
  SceneGraph& operator=(const SceneGraph&) = delete;

  void AddNode(SceneNode* node);
  void RemoveNode(SceneNode* node);
  // Keeps `roots` in step with a node that gained or lost its parent.
  void ParentChanged(SceneNode* node, bool nowRoot);
  // The first node (in creation order) of that name ignoring case, or null.
  SceneNode* FindNode(const char16_t* nodeName) const;
  // The same among the roots only: the objects the mission goals can name.
  SceneNode* FindRoot(const char16_t* nodeName) const;

  PtrArray<SceneNode*> nodes;  // every node, in creation order; not owned through this list
  PtrArray<SceneNode*> roots;  // the nodes without a parent; deleting them deletes everything

 protected:
  // Deletes every node now; scenes whose nodes refer to members of theirs call it first.
  void DeleteAllNodes();
};
