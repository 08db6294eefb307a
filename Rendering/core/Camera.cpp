#include "Rendering/core/Camera.h"
