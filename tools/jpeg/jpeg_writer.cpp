#include "tools/jpeg/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace jpeg {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the set-up in Compress. Warnings are not printed.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }
void Silent(j_common_ptr) {}

// The compressed bytes go straight into a vector, a block at a time.
struct VectorDestination {
  jpeg_destination_mgr base;
  std::vector<std::uint8_t>* out;
  JOCTET block[4096];
};

void StartBlock(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
  dest->base.next_output_byte = dest->block;
  dest->base.free_in_buffer = sizeof dest->block;
}

boolean FlushBlock(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
  try {
    dest->out->insert(dest->out->end(), dest->block, dest->block + sizeof dest->block);
  } catch (...) {
    ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  }
  StartBlock(cinfo);
  return TRUE;
}

void FinishBlocks(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
  const std::size_t used = sizeof dest->block - dest->base.free_in_buffer;
  try {
    dest->out->insert(dest->out->end(), dest->block, dest->block + used);
  } catch (...) {
    ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  }
}

// Everything that may end in error_exit. Only plain values live in this frame, so that the
// jump back skips no destructor and reads nothing it changed.
bool Compress(jpeg_compress_struct& cinfo, ErrorManager& err, VectorDestination& dest, const std::uint8_t* rgb,
              int width, int height, std::size_t stride, const WriterOptions& options,
              std::vector<jpeg_scan_info>& script, const std::vector<JOCTET>& comment) {
  if (setjmp(err.jump) != 0) return false;
  jpeg_create_compress(&cinfo);
  cinfo.dest = &dest.base;
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  cinfo.optimize_coding = options.optimizeCoding ? TRUE : FALSE;
  cinfo.write_JFIF_header = TRUE;
  cinfo.JFIF_major_version = 1;
  cinfo.JFIF_minor_version = 1;
  cinfo.density_unit = static_cast<UINT8>(options.densityUnit);
  cinfo.X_density = static_cast<UINT16>(options.xDensity);
  cinfo.Y_density = static_cast<UINT16>(options.yDensity);
  if (!script.empty()) {
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
  }
  jpeg_start_compress(&cinfo, TRUE);
  if (options.commentBytes >= 4) jpeg_write_marker(&cinfo, JPEG_COM, comment.data(), static_cast<unsigned>(comment.size()));
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPLE*>(rgb + cinfo.next_scanline * stride);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeRgb(const std::uint8_t* rgb, int width, int height, std::size_t stride,
                                    const WriterOptions& options) {
  std::vector<std::uint8_t> out;
  std::vector<jpeg_scan_info> script;
  if (options.progressiveAcBands > 0) {
    script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int band = 1; band <= options.progressiveAcBands; ++band) {
      const int last = band == options.progressiveAcBands ? 63 : band;
      for (int c = 0; c < 3; ++c) script.push_back({1, {c, 0, 0, 0}, band, last, 0, 0});
    }
  }
  std::vector<JOCTET> comment;
  if (options.commentBytes >= 4) {
    comment.assign(options.commentBytes - 4, ' ');  // the marker and the length take four
    const char text[] = "Brenvik";
    for (std::size_t i = 0; i < sizeof text - 1 && i < comment.size(); ++i) comment[i] = text[i];
  }

  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = JumpOut;
  err.base.output_message = Silent;
  VectorDestination dest{};
  dest.base.init_destination = StartBlock;
  dest.base.empty_output_buffer = FlushBlock;
  dest.base.term_destination = FinishBlocks;
  dest.out = &out;
  const bool ok = Compress(cinfo, err, dest, rgb, width, height, stride, options, script, comment);
  jpeg_destroy_compress(&cinfo);
  if (!ok) out.clear();
  return out;
}

}  // namespace jpeg
