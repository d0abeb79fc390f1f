// The run-length codings of BMP files (RLE8, RLE4) expanded into colour indexes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "canvas/picture.h"

// Expands `data` into `indexes`: width x height indexes, bottom row first, as the file's rows are.
// Runs and absolute runs are cut at the end of their row; end of line, end of bitmap and delta codes
// are followed; pixels the data never reaches (skipped by a delta or an early end) keep index 0.
// Data that ends without an end-of-bitmap code leaves the rest at 0 as well. Fails only when the
// index block cannot be had (kTooLarge, kOutOfMemory).
PictureFailure ExpandBmpRle(const std::uint8_t* data, std::size_t length, bool fourBits, std::size_t width,
                            std::size_t height, std::vector<std::uint8_t>* indexes);
