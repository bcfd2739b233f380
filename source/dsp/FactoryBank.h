#pragma once
#include <cstdint>

// The 16 factory programs as back-to-back program records (5952 bytes). These accessors
// reach the module's own copy, never a symbol of the same name from the host.
const uint8_t* factoryBank();
int32_t factoryBankSize();
const char* factoryProgramName(int32_t index); // 0..15; nullptr for any other index
