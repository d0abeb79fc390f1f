// The run-length codings of BMP files (RLE8, RLE4) expanded into colour indexes.
#pragma once

#include <cstddef>
#include <cstdint>

// Where the expansion puts its indexes: `count` of them (at most 255) from position `at` of the
// width x height picture, bottom row first as the file's rows are. Every position lies inside the
// picture.
class RleIndexSink {
 public:
  virtual void Put(std::size_t at, const std::uint8_t* indexes, unsigned count) = 0;

 protected:
  ~RleIndexSink() = default;
};

// Expands `data` into `sink`. The picture is one run of indexes: a run or absolute run longer than
// the rest of its row goes on in the next row, and every run is cut at the last index; a delta that
// moves past the end stops the expansion. End of line, end of bitmap and delta codes are followed;
// positions the data never reaches (skipped by a delta or an early end) are never put, and stand
// for index 0. An absolute run cut short by the end of the data puts the indexes it holds.
void ExpandBmpRle(const std::uint8_t* data, std::size_t length, bool fourBits, std::size_t width,
                  std::size_t height, RleIndexSink& sink);
