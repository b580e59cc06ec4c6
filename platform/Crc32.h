// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320), the checksum of zip
// entries and of the values the table database writes.
//
// It works on the running register: start from Crc32Start, update with each
// piece in turn, and complement the register for the checksum.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t Crc32Start = 0xFFFFFFFFu;

// The register after length more bytes; a null buffer leaves it as it is.
uint32_t Crc32Update(uint32_t reg, const void* buffer, size_t length);

// Long inputs are folded with carry-less multiplication where the processor
// has it (chosen at start-up), else taken eight bytes at a time over tables.
// Both give the same register. Choosing folding returns false, changing
// nothing, when the processor lacks it.
bool Crc32Folding();
bool SelectCrc32Folding(bool folding);
