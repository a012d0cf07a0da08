#pragma once
// The bytes of a file under tests/data, as another program wrote it.
#include <fstream>
#include <iterator>
#include <string>

namespace qr::test {

// Empty when the file is missing, which the test's own expectations then show.
inline std::string ReadTestData(const std::string& relativePath) {
  std::ifstream in(std::string(QR_TEST_DATA_DIR) + "/" + relativePath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qr::test
