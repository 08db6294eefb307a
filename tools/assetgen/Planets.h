#pragma once

#include "tools/assetgen/Picture.h"

// The sphere maps: eight planets, the sky and the sun. All are equirectangular in the game's
// sphere convention (row 0 in memory, the bottom row as a viewer shows it, is the north pole).
namespace assetgen {

constexpr int kPlanetWidth = 2048, kPlanetHeight = 1024;
constexpr int kSkyWidth = 4096, kSkyHeight = 2048;
constexpr int kSunWidth = 1024, kSunHeight = 512;

// Where the maps' landmarks sit, as (latitude, longitude) in radians with longitude
// measured like the texture's u (from +x towards -z); the preview centres its globes on them.
struct Landmark {
    float lat, lon;
};
constexpr Landmark kNeptuneSpot{-0.38f, 1.3f};
constexpr Landmark kJupiterRedSpot{-0.39f, 4.0f};
constexpr Landmark kPlutoHeart{0.22f, 2.6f};

Picture neptuneMap();
Picture jupiterMap();
Picture marsMap();
Picture mercuryMap();
Picture uranusMap();
Picture venusMap();
Picture saturnMap();
Picture plutoMap();
Picture skyMap();
Picture sunMap();

}  // namespace assetgen
