// The remembered last wallpaper: any bytes either are refused or decode to a snapshot within range that
// encodes to the same bytes' meaning again (decode, encode, decode gives the same snapshot), and
// re-placing it on its own display or another never leaves the table off every monitor.
#include "core/last_wallpaper.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<LastWallpaper> last = DecodeLastWallpaper(fuzz::Bytes(data, size));
  if (!last) return 0;
  FUZZ_CHECK(last->table.rows >= 1 && last->table.rows <= kMaxRows);
  FUZZ_CHECK(last->table.cells.size() == static_cast<size_t>(last->table.rows));
  FUZZ_CHECK(last->monitor < last->madeFor.monitors.size());
  FUZZ_CHECK(fuzz::IsUtf8(last->background.file));
  const std::optional<LastWallpaper> again = DecodeLastWallpaper(EncodeLastWallpaper(*last));
  FUZZ_CHECK(again && *again == *last);

  RefreshedTablePlace(*last, last->madeFor);
  const DisplayLayout other = SingleMonitorLayout({800, 600});
  const TablePlace place = RefreshedTablePlace(*last, other);
  FUZZ_CHECK(place.corner.x >= 0 && place.corner.y >= 0 && place.corner.x < 800 && place.corner.y < 600);
  return 0;
}
