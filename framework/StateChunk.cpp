#include "framework/StateChunk.h"
