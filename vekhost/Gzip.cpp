#include "Gzip.h"

#include <zlib.h>

#include <stdexcept>

namespace vekhost {

std::string Gzip(const std::string& bytes) {
  z_stream stream{};
  // 15 bits of window, plus 16: a gzip header and trailer.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw std::runtime_error("gzip: cannot start");
  std::string out(deflateBound(&stream, uLong(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = uInt(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = uInt(out.size());
  int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("gzip: cannot compress");
  return out;
}

} // namespace vekhost
