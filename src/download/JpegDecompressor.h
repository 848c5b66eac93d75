#pragma once
// libjpeg with errors that return to the caller: libjpeg's default error
// handler ends the process; this one jumps back to the reader's setjmp.
// Only for the files that read JPEG data through libjpeg.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace download {

struct TErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

[[noreturn]] inline void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
  std::longjmp(err->escape, 1);
}

inline void Quiet(j_common_ptr) {}

// libjpeg reports errors by longjmp, so nothing with a destructor may live in
// the frames it jumps over: each reader below keeps its C++ objects outside.
struct TDecompressor {
  jpeg_decompress_struct cinfo{};
  TErrorManager err{};
  TDecompressor() {
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.output_message = Quiet;
  }
};

}  // namespace download
