#pragma once

// A COM object written once: the interfaces it implements go in; out come
// QueryInterface, reference counts that are safe from any thread, and
// destruction through a virtual destructor at the last Release. A class
// built on it holds only what it answers.

#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/win32/scoped.h"

namespace corvane::win32 {

// COM interfaces have no virtual destructor; this class adds one, so the
// warning about the interfaces' own does not apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  ComObject(ComObject&&) = delete;
  ComObject& operator=(ComObject&&) = delete;
  virtual ~ComObject() = default;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = Find<Interfaces...>(iid);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const auto left = static_cast<ULONG>(InterlockedDecrement(&references_));
    if (left == 0) std::unique_ptr<ComObject> last(this);
    return left;
  }

 protected:
  ComObject() = default;

 private:
  // The interface `iid` names, as this object's pointer to it; IUnknown is
  // always the first interface's, so the object keeps one identity, and an
  // interface derived from IDispatch answers for it too.
  template <typename First, typename... Rest>
  void* Find(REFIID iid) {
    if (IsEqualIID(iid, __uuidof(First)) ||
        (std::is_base_of_v<IDispatch, First> && IsEqualIID(iid, __uuidof(IDispatch)))) {
      return static_cast<First*>(this);
    }
    if constexpr (sizeof...(Rest) > 0) {
      return Find<Rest...>(iid);
    } else {
      return IsEqualIID(iid, __uuidof(IUnknown)) ? FirstInterface() : nullptr;
    }
  }
  void* FirstInterface() {
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    return static_cast<First*>(this);
  }

  LONG references_ = 1;
};
#pragma GCC diagnostic pop

// A new COM object, its first reference held by the pointer returned.
template <typename Object, typename... Arguments>
ComPtr<Object> MakeComObject(Arguments&&... arguments) {
  ComPtr<Object> made;
  *made.put() = std::make_unique<Object>(std::forward<Arguments>(arguments)...).release();
  return made;
}

}  // namespace corvane::win32
