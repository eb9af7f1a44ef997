// Bytes in the gzip form browsers accept (Content-Encoding: gzip).
#ifndef TRISPAN_VEKHOST_GZIP_H
#define TRISPAN_VEKHOST_GZIP_H

#include <string>

namespace vekhost {

std::string Gzip(const std::string& bytes);

} // namespace vekhost

#endif
