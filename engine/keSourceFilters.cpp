#include "keSourceFilters.h"

#include "platform/keGuid.h"
#include "platform/keModule.h"

namespace {

kePlatform::ModuleHandle gSourceFilterModule = nullptr;

using RegisterServerFn = long (*)();
using GetClassObjectFn = long (*)(const keGuid*, const keGuid*, void**);

constexpr keGuid kProxyClassId = {0x8E86D6C4, 0xBD3F, 0x463C, {0xBB, 0x81, 0x9F, 0x56, 0xEC, 0xF7, 0xE6, 0xEC}};

}  // namespace

void RegisterSourceFilters() {
  gSourceFilterModule = kePlatform::LoadModule("QTSourcePX32.dll");
  if (gSourceFilterModule == nullptr) return;
  if (auto registerServer =
          reinterpret_cast<RegisterServerFn>(kePlatform::FindModuleSymbol(gSourceFilterModule, "DllRegisterServer")))
    registerServer();

  kePlatform::ModuleHandle proxy = kePlatform::LoadModule("MLProxy.dll");
  if (auto getClassObject =
          reinterpret_cast<GetClassObjectFn>(kePlatform::FindModuleSymbol(proxy, "DllGetClassObject"))) {
    void* object = nullptr;
    getClassObject(&kProxyClassId, &keIID_IUnknown, &object);  // result unused
  }
}

void UnregisterSourceFilters() {
  if (gSourceFilterModule == nullptr) return;
  if (auto unregisterServer =
          reinterpret_cast<RegisterServerFn>(kePlatform::FindModuleSymbol(gSourceFilterModule, "DllUnregisterServer")))
    unregisterServer();
}
