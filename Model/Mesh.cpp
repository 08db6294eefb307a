#include "Model/Mesh.h"
