#include "app/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace brenvik {
namespace {

// libjpeg calls error_exit on a fatal error and expects it not to return; ours jumps back to
// the decoder. Only plain C objects live between setjmp and any jump, so nothing is skipped.
// The progress monitor travels with it.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf back;
  jpeg_progress_mgr progress;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(err->back, 1);
}

// Warnings (msg_level -1) mean damaged data: libjpeg would go on and fill the rest of the
// picture with grey. We give the picture up instead; trace messages are dropped.
void EmitMessage(j_common_ptr cinfo, int msgLevel) {
  if (msgLevel < 0) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

void Progress(j_common_ptr cinfo) {
  auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number > kJpegMaxScans) ErrorExit(cinfo);
}

// Decodes into *out; false on any failure. `out` lives in the caller's frame, so a jump from
// inside libjpeg leaves it a valid object.
bool Decode(j_decompress_ptr cinfo, ErrorManager* err, const Bytes& file, QImage* out) {
  if (setjmp(err->back)) return false;
  jpeg_create_decompress(cinfo);  // clears every field but the error manager
  cinfo->progress = &err->progress;
  cinfo->mem->max_memory_to_use = kJpegMaxMemory;
  jpeg_mem_src(cinfo, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(cinfo, TRUE);
  const long long pixels = static_cast<long long>(cinfo->image_width) * cinfo->image_height;
  if (pixels <= 0 || pixels > kJpegMaxPixels) return false;
  if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK) return false;

  cinfo->out_color_space = JCS_EXT_BGRA;  // on a little-endian machine, QImage's RGB32 layout
  jpeg_start_decompress(cinfo);
  if (cinfo->output_components != 4) return false;
  *out = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                QImage::Format_RGB32);
  if (out->isNull()) return false;
  uchar* const bits = out->bits();
  const qsizetype stride = out->bytesPerLine();
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = bits + stride * cinfo->output_scanline;
    jpeg_read_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

QImage DecodeJpeg(const Bytes& file) {
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "JCS_EXT_BGRA matches QImage::Format_RGB32 on little-endian");
  if (file.empty()) return {};
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = ErrorExit;
  err.base.emit_message = EmitMessage;
  err.base.output_message = OutputMessage;
  err.progress.progress_monitor = Progress;

  QImage image;
  const bool ok = Decode(&cinfo, &err, file, &image);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) return {};
  return image;
}

}  // namespace brenvik
