// The models: the objects that missions place (each in levels of detail for the game meshes)
// and, for the menu pictures only, the player's helicopters and the weapons.
#pragma once

#include <string>
#include <vector>

#include "model.h"

// The mission objects by mesh name ("Tank", "Hangar", ...). Level 0 is the finest; a level past
// the model's last gives its coarsest. False for an unknown name.
bool BuildObjectModel(const std::string& meshName, int level, Model& model);
// The materials an object's levels use, for its texture.
std::vector<Material> ObjectMaterials(const std::string& meshName);

enum class ChopperModel { kScout, kGunship, kTransport };
// A helicopter with its rotors turned `rotorTurn` degrees (or without the main rotor blades, for
// plans) and stores on its pylons: rocket pods on the scout and the transport, pods and
// missiles on the gunship.
Model BuildChopperModel(ChopperModel kind, double rotorTurn, bool mainRotors = true);
// Hubs of the main rotors and the radius of their blades.
std::vector<Vec3> ChopperRotorHubs(ChopperModel kind);
double ChopperRotorRadius(ChopperModel kind);
// Where the helicopter's pylons are (x across, z along), for the loadout plan view.
std::vector<Vec3> ChopperPylons(ChopperModel kind);

enum class WeaponModel { kRocketPod, kHeavyRocket, kHeatMissile, kRadarMissile };
// One store as it hangs under a pylon at the origin, nose toward +z.
Model BuildWeaponModel(WeaponModel kind);
