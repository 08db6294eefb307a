#pragma once

#include <initializer_list>

// Which shaders make which program. The shaders are named as the asset manifest lists their
// files (infra/AssetManifest.inc); each program attaches them in the order given here.
namespace Rendering {

using ShaderNames = std::initializer_list<const char*>;

namespace programs {

inline constexpr ShaderNames sky = {"vertex", "fragmentSky", "sphereMap"};
inline constexpr ShaderNames lit = {"vertex", "fragmentShiny", "lightGauss", "sphereMap"};
// The glow renderer's four: scene pass, glow blur, composite and depth-of-field blur.
inline constexpr ShaderNames glowScene = {"vertex", "fragmentGlowOne", "lightGauss"};
inline constexpr ShaderNames glowBlur = {"vertexBasic", "fragmentGlowTwo"};
inline constexpr ShaderNames glowComposite = {"vertexBasic", "fragmentGlowFour"};
inline constexpr ShaderNames dofBlur = {"vertexBasic", "dofTwo"};
inline constexpr ShaderNames text = {"vertexFont", "fragmentText"};

// Every program the game links.
inline constexpr std::initializer_list<ShaderNames> all = {
    sky, lit, glowScene, glowBlur, glowComposite, dofBlur, text};

// The glow renderer is handed the shaders of its four programs as one list, in this order.
inline constexpr ShaderNames glowRenderer = {"vertex",          "fragmentGlowOne",  "vertexBasic",
                                             "fragmentGlowTwo", "fragmentGlowFour", "lightGauss",
                                             "dofTwo"};

}  // namespace programs

}  // namespace Rendering
