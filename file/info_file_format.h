#pragma once
// The bytes of a ".inf" file: six little-endian 16-bit header words (G-Info answer length, type,
// entry count, then the same for X-Info), the stored part of every G-Info slot, then of every
// X-Info slot. No signature, so any bytes decode.
#include "readout/record_store.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lexorant {

inline constexpr std::size_t kInfoFileHeaderSize = 12;

// Entry bytes a block stores per entry: (answerLength - 4) / 2, cut to 0..slotSize.
std::size_t StoredEntrySize(std::uint16_t answerLength, std::size_t slotSize);

// Size of the file that holds blocks with these headers.
std::size_t InfoFileSize(const InfoHeader& g, const InfoHeader& x);

std::vector<std::uint8_t> EncodeInfoFile(const RecordStore& store);

// The header words of both blocks, as a file begins with them.
std::array<std::uint8_t, kInfoFileHeaderSize> EncodeInfoHeaders(const InfoHeader& g, const InfoHeader& x);

// Header words of a file's first bytes; bytes the file lacks read as zero.
void DecodeInfoHeaders(std::span<const std::uint8_t> bytes, InfoHeader& g, InfoHeader& x);

// Replaces the whole store. Bytes the file lacks read as zero, bytes beyond its blocks are ignored.
void DecodeInfoFile(std::span<const std::uint8_t> bytes, RecordStore& store);

} // namespace lexorant
