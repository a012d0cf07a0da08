// Code page 932 text: any bytes decode to valid UTF-8 that encodes and decodes back unchanged; any text
// encodes, and fixed-length fields are cut on character boundaries.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/cp932.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t fieldLength = input.ConsumeIntegralInRange<size_t>(0, 512);
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  const std::string decoded = DecodeCp932(bytes);
  FUZZ_CHECK(fuzz::IsUtf8(decoded));
  const std::string encoded = EncodeCp932(decoded);
  if (!fuzz::HasReplacement(decoded)) {
    FUZZ_CHECK(encoded.size() == bytes.size());  // every character keeps its width in bytes
    FUZZ_CHECK(DecodeCp932(encoded) == decoded);
  }

  // The same bytes taken as (possibly invalid) UTF-8.
  const std::string field = Cp932Field(bytes, fieldLength);
  FUZZ_CHECK(field.size() == fieldLength);
  const std::string fromText = EncodeCp932(bytes);
  const size_t cut = Cp932CutLength(fromText, fieldLength);
  FUZZ_CHECK(cut <= fieldLength && cut <= fromText.size());
  FUZZ_CHECK(cut == fromText.size() || cut + 1 >= fieldLength);
  FUZZ_CHECK(!fuzz::HasReplacement(DecodeCp932(fromText.substr(0, cut))));
  return 0;
}
