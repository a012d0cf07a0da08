#pragma once
// COM for the calling thread, held for a scope, and the smart pointer for COM interfaces.
#include <windows.h>
#include <wrl/client.h>

namespace qr::win {

template <typename T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

// Joins the calling thread to a single-threaded apartment for the object's lifetime. Nested scopes are
// fine (COM counts them). When the thread already chose another apartment model COM is still usable,
// and this scope then leaves the thread as it found it.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(ComApartment&& other) noexcept;
  ComApartment& operator=(ComApartment&& other) noexcept;
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // COM can be used on this thread.
  bool ok() const { return ok_; }

 private:
  void Leave();

  bool ok_ = false;
  bool mustUninitialise_ = false;
};

}  // namespace qr::win
