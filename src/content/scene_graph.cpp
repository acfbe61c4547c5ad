#include "content/scene_graph.h"

#include "content/definition_reading.h"
#include "content/mesh_library.h"
#include "core/wide_string.h"

SceneNode::SceneNode(SceneGraph* owner, const char16_t* nodeName) : scene(owner) {
  CopyName(name, nodeName);
  if (scene != nullptr) scene->AddNode(this);
}

SceneNode::~SceneNode() {
  if (parent != nullptr) parent->RemoveChild(this);
  // Each child's destructor unlinks it from this node's list, so the head keeps moving on.
  while (firstChild != nullptr) delete firstChild;
  while (hitpoints != nullptr) {
    Hitpoint* hitpoint = hitpoints;
    hitpoints = hitpoint->next;
    delete hitpoint;
  }
  if (scene != nullptr) scene->RemoveNode(this);
}

void SceneNode::SetLocal(const Matrix34& matrix) {
  local = matrix;
  world = local;
  if (parent != nullptr) world.Multiply(parent->world);
  for (SceneNode* child = firstChild; child != nullptr; child = child->nextSibling) child->SetLocal(child->local);
  for (Hitpoint* hitpoint = hitpoints; hitpoint != nullptr; hitpoint = hitpoint->next) {
    hitpoint->worldPos = world.TransformPoint(hitpoint->localPos);
  }
}

void SceneNode::SetParent(SceneNode* node) {
  parent = node;
  if (scene != nullptr) scene->ParentChanged(this, node == nullptr);
}

void SceneNode::AddChild(SceneNode* child) {
  if (child->parent != nullptr) child->parent->RemoveChild(child);
  child->nextSibling = firstChild;
  firstChild = child;
  child->SetParent(this);
  child->SetLocal(child->local);
  UpdateRadius();
}

void SceneNode::RemoveChild(SceneNode* child) {
  for (SceneNode** link = &firstChild; *link != nullptr; link = &(*link)->nextSibling) {
    if (*link != child) continue;
    *link = child->nextSibling;
    child->nextSibling = nullptr;
    child->SetParent(nullptr);
    child->SetLocal(child->local);
    UpdateRadius();
    return;
  }
}

void SceneNode::SetMesh(const Mesh* newMesh) {
  mesh = newMesh;
  UpdateRadius();
}

void SceneNode::AddHitpoint(Hitpoint* hitpoint) {
  hitpoint->worldPos = world.TransformPoint(hitpoint->localPos);
  hitpoint->next = hitpoints;
  hitpoints = hitpoint;
}

void SceneNode::RemoveHitpoint(Hitpoint* hitpoint) {
  for (Hitpoint** link = &hitpoints; *link != nullptr; link = &(*link)->next) {
    if (*link != hitpoint) continue;
    *link = hitpoint->next;
    hitpoint->next = nullptr;
    return;
  }
}

void SceneNode::UpdateRadius() {
  radius = mesh != nullptr && mesh->lodCount > 0 ? mesh->lods[0]->radius : 0;
  for (const SceneNode* child = firstChild; child != nullptr; child = child->nextSibling) {
    const fixed reach = WrapAdd(child->local.GetTranslation().Length(), child->radius);
    if (reach > radius) radius = reach;
  }
}

SceneGraph::~SceneGraph() { DeleteAllNodes(); }

void SceneGraph::DeleteAllNodes() {
  while (!roots.Empty()) {
    const uint16_t before = roots.Count();
    delete roots[0];                                 // takes itself (and its subtree) out of both lists
    if (roots.Count() >= before) roots.RemoveAt(0);  // never loop on a node that stayed listed
  }
  nodes.Release();
  roots.Release();
}

void SceneGraph::AddNode(SceneNode* node) {
  nodes.Append(node);
  if (node->parent == nullptr) roots.Append(node);
}

void SceneGraph::RemoveNode(SceneNode* node) {
  const uint16_t index = nodes.IndexOf(node);
  if (index != kNotFound) nodes.RemoveAt(index);
  if (node->parent == nullptr) ParentChanged(node, false);
}

void SceneGraph::ParentChanged(SceneNode* node, bool nowRoot) {
  const uint16_t index = roots.IndexOf(node);
  if (nowRoot && index == kNotFound) {
    roots.Append(node);
  } else if (!nowRoot && index != kNotFound) {
    roots.RemoveAt(index);
  }
}

SceneNode* SceneGraph::FindNode(const char16_t* nodeName) const {
  for (SceneNode* node : nodes) {
    if (EqualsNoCase(node->name, nodeName)) return node;
  }
  return nullptr;
}

SceneNode* SceneGraph::FindRoot(const char16_t* nodeName) const {
  for (SceneNode* node : roots) {
    if (EqualsNoCase(node->name, nodeName)) return node;
  }
  return nullptr;
}
