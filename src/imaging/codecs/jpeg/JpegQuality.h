#pragma once
#include <array>

// How the two save factors become quantisation tables.
namespace dovi::imaging::jpeg::quality {

using QuantTable = std::array<unsigned int, 64>; // natural (row-major) order

// The baseline table (entries 1..255) for a factor, clamped to 1..255.
QuantTable luminanceTable(int factor);
QuantTable chrominanceTable(int factor);

// True when the chrominance factor is fine enough that the chroma planes are
// stored at full resolution (4:4:4) rather than halved both ways (4:2:0).
bool fullResolutionChroma(int chrominanceFactor);

} // namespace dovi::imaging::jpeg::quality
