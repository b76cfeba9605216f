// JPEG files through libjpeg: written at full chroma resolution, read back for checks and sheets.
#include "jpeg_io.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <jpeglib.h>

namespace assetgen {
namespace {

// libjpeg reports errors through a callback that must not return; it jumps back instead.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorJump*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

// Compresses into memory; kept free of C++ objects with destructors because of longjmp.
bool Compress(const Image& image, int quality, unsigned char** buffer, unsigned long* size,
              char* message) {
  jpeg_compress_struct info;
  ErrorJump err;
  info.err = jpeg_std_error(&err.manager);
  err.manager.error_exit = OnJpegError;
  err.manager.output_message = OnJpegMessage;
  if (setjmp(err.jump)) {
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = static_cast<JDIMENSION>(image.Width());
  info.image_height = static_cast<JDIMENSION>(image.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  for (int i = 0; i < info.num_components; ++i) {
    info.comp_info[i].h_samp_factor = 1;
    info.comp_info[i].v_samp_factor = 1;
  }
  info.dct_method = JDCT_ISLOW;
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  const unsigned char* data = image.Bytes().data();
  const std::size_t stride = static_cast<std::size_t>(image.Width()) * 3;
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<unsigned char*>(data + info.next_scanline * stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

struct RawDecode {
  int width = 0;
  int height = 0;
  int components = 0;
  bool fullChroma = true;
};

bool Decompress(std::FILE* file, std::vector<unsigned char>& pixels, RawDecode& out,
                char* message) {
  jpeg_decompress_struct info;
  ErrorJump err;
  info.err = jpeg_std_error(&err.manager);
  err.manager.error_exit = OnJpegError;
  err.manager.output_message = OnJpegMessage;
  if (setjmp(err.jump)) {
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  for (int i = 0; i < info.num_components; ++i) {
    if (info.comp_info[i].h_samp_factor != 1 || info.comp_info[i].v_samp_factor != 1) {
      out.fullChroma = false;
    }
  }
  info.out_color_space = JCS_RGB;
  info.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.components = info.output_components;
  pixels.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  while (info.output_scanline < info.output_height) {
    unsigned char* row = pixels.data() + static_cast<std::size_t>(info.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

bool WriteJpeg(const std::filesystem::path& path, const Image& image, int quality,
               std::string& error) {
  if (image.Width() <= 0 || image.Height() <= 0) {
    error = "empty picture";
    return false;
  }
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  char message[JMSG_LENGTH_MAX] = {};
  if (!Compress(image, quality, &buffer, &size, message)) {
    std::free(buffer);
    error = message;
    return false;
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(size));
  std::free(buffer);
  file.close();
  if (!file) {
    error = "cannot write the file";
    return false;
  }
  return true;
}

std::optional<DecodedJpeg> ReadJpeg(const std::filesystem::path& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot open the file";
    return std::nullopt;
  }
  std::vector<unsigned char> pixels;
  RawDecode raw;
  char message[JMSG_LENGTH_MAX] = {};
  const bool ok = Decompress(file, pixels, raw, message);
  std::fclose(file);
  if (!ok) {
    error = message;
    return std::nullopt;
  }
  DecodedJpeg out{Image(raw.width, raw.height), raw.fullChroma};
  for (int y = 0; y < raw.height; ++y) {
    for (int x = 0; x < raw.width; ++x) {
      const std::size_t i = (static_cast<std::size_t>(y) * raw.width + x) * 3;
      out.image.Set(x, y, {pixels[i], pixels[i + 1], pixels[i + 2]});
    }
  }
  return out;
}

}  // namespace assetgen
