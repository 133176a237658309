#include "platform/win32/ole_apartment.h"

#include <objbase.h>

#include "platform/win32/trace.h"

namespace corvane::win32 {

bool OleApartment::Ensure() {
  if (tried_) return ole_;
  tried_ = true;
  const auto co_initialize = ole32_.Get<CoInitializeExFn>("CoInitializeEx");
  const auto ole_initialize = ole32_.Get<OleInitializeFn>("OleInitialize");
  if (co_initialize == nullptr || ole_initialize == nullptr) return TraceLastError();
  // ShellExecuteEx's documentation asks for exactly this: shell extensions
  // it may load want a single-threaded apartment, without OLE 1 DDE.
  const HRESULT com = co_initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  com_ = SUCCEEDED(com);
  if (!com_) Failed(com);
  // Hosting an ActiveX control (the browser control) needs OLE on the thread.
  ole_ = !Failed(ole_initialize(nullptr));
  return ole_;
}

OleApartment::~OleApartment() {
  if (ole_) {
    if (const auto uninitialize = ole32_.Get<UninitializeFn>("OleUninitialize")) uninitialize();
  }
  if (com_) {
    if (const auto uninitialize = ole32_.Get<UninitializeFn>("CoUninitialize")) uninitialize();
  }
}

}  // namespace corvane::win32
