// The run-length codings of BMP files (RLE8, RLE4) expanded into colour indexes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "canvas/picture.h"

// Expands `data` into `indexes`: width x height indexes, bottom row first, as the file's rows are.
// The picture is one run of indexes: a run or absolute run longer than the rest of its row goes on
// in the next row, and every run is cut at the last index; a delta that moves past the end stops
// the expansion. End of line, end of bitmap and delta codes are followed; pixels the data never
// reaches (skipped by a delta or an early end) keep index 0, and an absolute run cut short by the
// end of the data keeps the indexes it holds. Fails only when the index block cannot be had
// (kTooLarge, kOutOfMemory).
PictureFailure ExpandBmpRle(const std::uint8_t* data, std::size_t length, bool fourBits, std::size_t width,
                            std::size_t height, std::vector<std::uint8_t>* indexes);
