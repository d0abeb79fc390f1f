// JPEG through libjpeg into kind 1: 24-bit rows, bottom row first, blue-green-red, with the
// pixels of the library's default output settings.
//
// libjpeg reports fatal errors through error_exit, which jumps back into RunJpegDecode. That
// function is plain C in all but name: no object with a destructor is alive across its setjmp, and
// everything acquired after the setjmp lives in the JpegJob and is released on the error branch.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's colour space extensions are needed (JCS_EXT_BGR)"
#endif

#include "canvas/picture_decoders.h"
#include "canvas/picture_size.h"
#include "frame/ground/memory.h"

namespace {

// The data source hands libjpeg the file in blocks of this size.
constexpr std::size_t kSourceBlockSize = 4096;
// A progressive stream may hold any number of scans, each costing a pass over the whole image; real
// encoders write about ten.
constexpr int kMaxScans = 500;
// libjpeg's own working memory (coefficient buffers of progressive images) on top of the block.
constexpr long kMaxWorkingMemory = 512L << 20;
// Rows asked of libjpeg per call.
constexpr int kRowsPerRead = 16;

constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

struct MemorySource {
  jpeg_source_mgr manager;  // first: libjpeg sees only this part
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
  bool startOfFile;
};

struct ErrorManager {
  jpeg_error_mgr manager;  // first
  std::jmp_buf jump;
};

struct ScanLimit {
  jpeg_progress_mgr manager;  // first
};

struct JpegJob {
  jpeg_decompress_struct info;
  ErrorManager error;
  MemorySource source;
  ScanLimit progress;
  const std::uint8_t* data;
  std::size_t size;
  // Acquired after the setjmp; freed on the error branch unless handed out.
  std::uint8_t* pixels;
  std::size_t pixelBytes;
  std::uint32_t width;
  std::uint32_t height;
  PictureFailure failure;
};

void InitSource(j_decompress_ptr info) {
  reinterpret_cast<MemorySource*>(info->src)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<MemorySource*>(info->src);
  const std::size_t left = source->size - source->position;
  if (left == 0) {
    if (source->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    // A file cut short still shows what it holds: the library gets an end-of-image marker.
    WARNMS(info, JWRN_JPEG_EOF);
    source->manager.next_input_byte = kEndOfImage;
    source->manager.bytes_in_buffer = sizeof kEndOfImage;
  } else {
    const std::size_t count = left < kSourceBlockSize ? left : kSourceBlockSize;
    source->manager.next_input_byte = source->data + source->position;
    source->manager.bytes_in_buffer = count;
    source->position += count;
  }
  source->startOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<MemorySource*>(info->src);
  auto skip = static_cast<std::size_t>(count);
  if (skip > source->manager.bytes_in_buffer) {
    // Past the current block: move through the data directly, then start a new block.
    skip -= source->manager.bytes_in_buffer;
    const std::size_t left = source->size - source->position;
    source->position += skip < left ? skip : left;
    FillInputBuffer(info);
    return;
  }
  source->manager.next_input_byte += skip;
  source->manager.bytes_in_buffer -= skip;
}

void TermSource(j_decompress_ptr) {}

void ExitToDecoder(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings and trace messages are not shown anywhere.
void DropMessage(j_common_ptr) {}

void CheckScanCount(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    auto* job = reinterpret_cast<JpegJob*>(info->client_data);
    job->failure = PictureFailure::kTooLarge;
    ERREXIT(info, JERR_NOT_COMPILED);
  }
}

void AttachSource(JpegJob* job) {
  MemorySource& source = job->source;
  source.manager.init_source = InitSource;
  source.manager.fill_input_buffer = FillInputBuffer;
  source.manager.skip_input_data = SkipInputData;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = TermSource;
  source.manager.bytes_in_buffer = 0;
  source.manager.next_input_byte = nullptr;
  source.data = job->data;
  source.size = job->size;
  source.position = 0;
  job->info.src = &source.manager;
}

// Whether libjpeg can write this stream's default output (RGB or grey) as blue-green-red itself.
// Its colour conversion gives the same values in either order, and grey becomes three equal
// values, so the rows come out as the record wants them without a pass of our own. CMYK and YCCK
// streams are read as CMYK and converted by CmykRowToBgr; other streams (2 components, say) keep
// the default output, which is not converted.
bool ConvertsToBgr(const jpeg_decompress_struct& info) {
  return info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB ||
         info.jpeg_color_space == JCS_GRAYSCALE;
}

bool IsCmyk(const jpeg_decompress_struct& info) {
  return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// One channel from an inverted ink and inverted black, as ImageMagick turns CMYK into RGB: in
// 16-bit levels, ink and black each the inverse of the stored byte, red = (1 - C) (1 - K), rounded,
// then scaled to 8 bits with rounding.
std::uint8_t FromInks(unsigned ink, unsigned black) {
  const auto level = static_cast<unsigned>(257.0 * ink * black / 255.0 + 0.5);
  return static_cast<std::uint8_t>(((level + 128) - ((level + 128) >> 8)) >> 8);
}

// Adobe's CMYK JPEGs (the kind every common writer makes) store each ink inverted: 255 is no ink.
// libjpeg hands them over as stored, YCCK already turned into CMYK.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    bgr[0] = FromInks(cmyk[2], cmyk[3]);
    bgr[1] = FromInks(cmyk[1], cmyk[3]);
    bgr[2] = FromInks(cmyk[0], cmyk[3]);
  }
}

bool Abandon(JpegJob* job, PictureFailure failure) {
  jpeg_destroy_decompress(&job->info);
  FrameFree(job->pixels);
  job->pixels = nullptr;
  if (job->failure == PictureFailure::kNone) job->failure = failure;
  return false;
}

// Decodes job->data into job->pixels. On failure everything is released and job->failure says why.
bool RunJpegDecode(JpegJob* job) {
  job->info.err = jpeg_std_error(&job->error.manager);
  job->error.manager.error_exit = ExitToDecoder;
  job->error.manager.output_message = DropMessage;
  if (setjmp(job->error.jump)) return Abandon(job, PictureFailure::kJpegError);

  jpeg_create_decompress(&job->info);
  job->info.client_data = job;
  job->info.mem->max_memory_to_use = kMaxWorkingMemory;
  job->progress.manager.progress_monitor = CheckScanCount;
  job->info.progress = &job->progress.manager;
  AttachSource(job);
  if (jpeg_read_header(&job->info, TRUE) != JPEG_HEADER_OK) return Abandon(job, PictureFailure::kJpegError);
  // The default output has the image's own size; refuse before libjpeg sizes its buffers for it.
  if (const PictureFailure size = CheckPictureSize(job->info.image_width, job->info.image_height);
      size != PictureFailure::kNone) {
    return Abandon(job, size);
  }
  const bool bgr = ConvertsToBgr(job->info);
  const bool cmyk = IsCmyk(job->info);
  if (bgr) job->info.out_color_space = JCS_EXT_BGR;
  if (cmyk) job->info.out_color_space = JCS_CMYK;
  jpeg_start_decompress(&job->info);

  job->width = job->info.output_width;
  job->height = job->info.output_height;
  const auto outRowBytes = CheckedMulAdd(job->width, 3);
  const auto blockSize = outRowBytes ? PixelBlockSize(*outRowBytes, job->height) : std::nullopt;
  const auto lineBytes = CheckedMulAdd(job->width, static_cast<std::size_t>(job->info.output_components));
  if (CheckPictureSize(job->width, job->height) != PictureFailure::kNone || !blockSize || !lineBytes ||
      *lineBytes > 0xFFFFFFFFu) {
    return Abandon(job, PictureFailure::kTooLarge);
  }
  job->pixels = static_cast<std::uint8_t*>(FrameAllocatePlain(*blockSize));
  if (!job->pixels) return Abandon(job, PictureFailure::kOutOfMemory);
  job->pixelBytes = *blockSize;
  if (!bgr) std::memset(job->pixels, 0, *blockSize);

  // Blue-green-red lines go straight to their rows, bottom row first; other lines go to a scratch
  // buffer (freed with the decompression object), and are converted from CMYK or dropped.
  JSAMPARRAY scratch = bgr ? nullptr
                           : (*job->info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&job->info), JPOOL_IMAGE,
                                                            static_cast<JDIMENSION>(*lineBytes), kRowsPerRead);
  JSAMPROW rows[kRowsPerRead];
  while (job->info.output_scanline < job->height) {
    const JDIMENSION first = job->info.output_scanline;
    const JDIMENSION wanted = job->height - first < kRowsPerRead ? job->height - first : kRowsPerRead;
    for (JDIMENSION i = 0; i < wanted; ++i) {
      rows[i] = bgr ? job->pixels + (job->height - 1 - (first + i)) * *outRowBytes : scratch[i];
    }
    const JDIMENSION read = jpeg_read_scanlines(&job->info, rows, wanted);
    if (read == 0) return Abandon(job, PictureFailure::kJpegError);
    if (!cmyk) continue;
    for (JDIMENSION i = 0; i < read; ++i) {
      CmykRowToBgr(scratch[i], job->pixels + (job->height - 1 - (first + i)) * *outRowBytes, job->width);
    }
  }
  jpeg_finish_decompress(&job->info);
  jpeg_destroy_decompress(&job->info);
  return true;
}

}  // namespace

DecodeResult DecodeJpegPicture(const std::uint8_t* bytes, std::size_t length) {
  // Value-initialised: the error branch may destroy a decompression object that was never created.
  JpegJob job{};
  job.data = bytes;
  job.size = length;

  DecodeResult result;
  if (!RunJpegDecode(&job)) {
    result.failure = job.failure;
    return result;
  }
  result.picture.kind = PictureKind::kJpeg;
  result.picture.width = static_cast<std::int32_t>(job.width);
  result.picture.height = static_cast<std::int32_t>(job.height);
  result.picture.pixels = job.pixels;
  result.picture.pixelBlockSize = static_cast<std::int32_t>(job.pixelBytes);
  return result;
}
