#include "keModule.h"

#include <dlfcn.h>

namespace kePlatform {

ModuleHandle LoadModule(const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); }

void* FindModuleSymbol(ModuleHandle module, const char* symbol) {
  if (module == nullptr) return nullptr;
  return dlsym(module, symbol);
}

}  // namespace kePlatform
