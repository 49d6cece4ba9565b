#pragma once
// The host's pointer speed (1..20), which each profile carries as `mousespeed`.

#include <cstdint>

// The host's current pointer speed (10 when it cannot be read).
uint8_t GetSystemMouseSpeed();
// Sets the host's pointer speed to the mousespeed of the active profile of the download
// table, or of the working set while nothing has been downloaded in this run. A speed
// outside 1..20 (0 included) leaves the host's setting alone.
void SetSystemMouseSpeed();
