#include "image/TJpegCodec.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "image/EImageError.h"

namespace kerv {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours keeps the message and jumps back to the frame that started the work;
// those frames (RunCompress, RunDecompress) hold nothing with a destructor,
// which a jump would skip.
struct TJpegErrorManager {
  jpeg_error_mgr pub;  // first, so that libjpeg's pointer is ours
  jmp_buf jump;
  char* message;
};

extern "C" void OnJpegError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<TJpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings (a corrupt byte that decoding skips) are not printed to stderr.
extern "C" void IgnoreJpegMessage(j_common_ptr) {}

// The compressed bytes, in a buffer of ours that grows as libjpeg fills it.
// (libjpeg's own memory destination frees its first buffer when it grows and
// tells the caller only at the end, so after an error the caller could free
// a buffer twice.) malloc and realloc, not a string: nothing may throw
// through libjpeg's frames.
struct TJpegDestination {
  jpeg_destination_mgr pub;  // first, so that libjpeg's pointer is ours
  unsigned char* buffer;
  size_t capacity;
  size_t size;
};

extern "C" void StartDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<TJpegDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = dest->capacity;
}

extern "C" boolean GrowDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<TJpegDestination*>(cinfo->dest);
  // libjpeg calls this with the whole buffer full.
  size_t capacity = dest->capacity * 2;
  auto* grown = static_cast<unsigned char*>(std::realloc(dest->buffer, capacity));
  if (grown == nullptr) {
    ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);  // does not return
    return FALSE;
  }
  dest->buffer = grown;
  dest->pub.next_output_byte = grown + dest->capacity;
  dest->pub.free_in_buffer = capacity - dest->capacity;
  dest->capacity = capacity;
  return TRUE;
}

extern "C" void EndDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<TJpegDestination*>(cinfo->dest);
  dest->size = dest->capacity - dest->pub.free_in_buffer;
}

struct TCompressJob {
  int width;
  int height;
  int quality;
  TJpegRowSource rows;
  const void* context;
  uint8_t* scratch;
  TJpegDestination* destination;  // its buffer is the caller's to free
  char message[JMSG_LENGTH_MAX];
};

// libjpeg's error handling, made to come back here (through the setjmp of
// the caller, which must stay in the function that calls libjpeg) with the
// message in message.
jpeg_error_mgr* ReturningErrors(TJpegErrorManager& errors, char* message) {
  jpeg_error_mgr* manager = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = &OnJpegError;
  errors.pub.output_message = &IgnoreJpegMessage;
  errors.message = message;
  return manager;
}

bool RunCompress(TCompressJob* job) {
  jpeg_compress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  TJpegErrorManager errors;
  cinfo.err = ReturningErrors(errors, job->message);
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  cinfo.dest = &job->destination->pub;
  cinfo.image_width = static_cast<JDIMENSION>(job->width < 0 ? 0 : job->width);
  cinfo.image_height = static_cast<JDIMENSION>(job->height < 0 ? 0 : job->height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job->quality, TRUE);
  jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(job->rows(job->context, static_cast<int>(cinfo.next_scanline), job->scratch));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

// Hands out the rows of the decoded picture; a picture too large to hold is
// refused here, before any row is decoded.
using TJpegAllocate = uint8_t* (*)(void* context, int width, int height, size_t* stride);

struct TDecompressJob {
  const unsigned char* data;
  unsigned long size;
  TJpegAllocate allocate;
  void* context;
  char message[JMSG_LENGTH_MAX];
};

bool RunDecompress(TDecompressJob* job) {
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  TJpegErrorManager errors;
  cinfo.err = ReturningErrors(errors, job->message);
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, job->data, job->size);
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
    std::snprintf(job->message, JMSG_LENGTH_MAX, "no image");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  cinfo.out_color_space = JCS_RGB;
  // The picture is refused by its size before libjpeg sets up its own
  // buffers for it, which for a progressive file hold the whole picture.
  jpeg_calc_output_dimensions(&cinfo);
  size_t stride = 0;
  uint8_t* base = job->allocate(job->context, static_cast<int>(cinfo.output_width),
                                static_cast<int>(cinfo.output_height), &stride);
  if (base == nullptr) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 3) {
    std::snprintf(job->message, JMSG_LENGTH_MAX, "%d colour components", cinfo.output_components);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = base + static_cast<size_t>(cinfo.output_scanline) * stride;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

const uint8_t* ImageRow(const void* context, int row, uint8_t* scratch) {
  const auto& image = *static_cast<const TRasterImage*>(context);
  if (image.Format() == TPixelFormat::Rgb24) return image.Row(row);
  ExpandRowToRgb(image, row, scratch);
  return scratch;
}

struct TDecodeTarget {
  std::optional<TRasterImage> image;
  std::exception_ptr failure;
};

uint8_t* AllocateDecoded(void* context, int width, int height, size_t* stride) {
  auto* target = static_cast<TDecodeTarget*>(context);
  try {
    target->image.emplace(width, height, TPixelFormat::Rgb24);
  } catch (...) {
    // Never through libjpeg's frames: the error is thrown once they are left.
    target->failure = std::current_exception();
    return nullptr;
  }
  *stride = target->image->Stride();
  return target->image->Bits();
}

}  // namespace

int ClampJpegQuality(int quality) { return quality < 1 ? 1 : (quality > 100 ? 100 : quality); }

std::string EncodeJpegRows(int width, int height, int quality, TJpegRowSource rows, const void* context) {
  std::vector<uint8_t> scratch(width > 0 && width <= kMaxImageSide ? static_cast<size_t>(width) * 3 : 0);
  TJpegDestination destination{};
  destination.pub.init_destination = &StartDestination;
  destination.pub.empty_output_buffer = &GrowDestination;
  destination.pub.term_destination = &EndDestination;
  destination.capacity = 65536;
  destination.buffer = static_cast<unsigned char*>(std::malloc(destination.capacity));
  if (destination.buffer == nullptr) throw std::bad_alloc();
  TCompressJob job{};
  job.width = width;
  job.height = height;
  job.quality = ClampJpegQuality(quality);
  job.rows = rows;
  job.context = context;
  job.scratch = scratch.data();
  job.destination = &destination;
  bool done = RunCompress(&job);
  std::string out;
  try {
    if (done) out.assign(reinterpret_cast<const char*>(destination.buffer), destination.size);
  } catch (...) {
    std::free(destination.buffer);
    throw;
  }
  std::free(destination.buffer);
  if (!done) throw EImageError(TImageMessage::JpegFailed, {std::string(job.message)});
  return out;
}

std::string EncodeJpeg(const TRasterImage& image, int quality) {
  CheckImageSize(image.Width(), image.Height(), image.Format());
  return EncodeJpegRows(image.Width(), image.Height(), quality, &ImageRow, &image);
}

TRasterImage DecodeJpeg(std::string_view bytes) {
  TDecodeTarget target;
  TDecompressJob job{};
  job.data = reinterpret_cast<const unsigned char*>(bytes.data());
  job.size = static_cast<unsigned long>(bytes.size());
  job.allocate = &AllocateDecoded;
  job.context = &target;
  if (!RunDecompress(&job)) {
    if (target.failure) std::rethrow_exception(target.failure);
    throw EImageError(TImageMessage::JpegReadFailed, {std::string(job.message)});
  }
  return std::move(*target.image);
}

}  // namespace kerv
