// COM initialised for the thread and its objects owned.
#include "win32/com.h"

#include <utility>

#include "win32/lazy_libraries.h"

namespace qr::win {

ComApartment::ComApartment() {
  const HRESULT hr = lazy::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  mustUninitialise_ = SUCCEEDED(hr);  // S_OK and S_FALSE both need a matching CoUninitialize
  ok_ = SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment() { Leave(); }

ComApartment::ComApartment(ComApartment&& other) noexcept
    : ok_(std::exchange(other.ok_, false)),
      mustUninitialise_(std::exchange(other.mustUninitialise_, false)) {}

ComApartment& ComApartment::operator=(ComApartment&& other) noexcept {
  if (this != &other) {
    Leave();
    ok_ = std::exchange(other.ok_, false);
    mustUninitialise_ = std::exchange(other.mustUninitialise_, false);
  }
  return *this;
}

void ComApartment::Leave() {
  if (mustUninitialise_) lazy::CoUninitialize();
  mustUninitialise_ = false;
  ok_ = false;
}

}  // namespace qr::win
