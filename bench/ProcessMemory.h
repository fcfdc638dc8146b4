#pragma once

// This process's memory, for the benchmarks, in kB.
namespace ProcessMemory {
// Resident now.
long ResidentKb();
// The most it has been resident at any moment.
long PeakKb();
} // namespace ProcessMemory
