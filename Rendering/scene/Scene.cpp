#include "Rendering/scene/Scene.h"
