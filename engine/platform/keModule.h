// Loading of shared modules and lookup of their entry points, where the
// system would load filter DLLs. A module that is not there is simply absent.
#pragma once

namespace kePlatform {

using ModuleHandle = void*;

/// Loads the module named `name`; null when it cannot be loaded.
ModuleHandle LoadModule(const char* name);
/// The address of `symbol` in `module`; null when it does not export it.
void* FindModuleSymbol(ModuleHandle module, const char* symbol);

}  // namespace kePlatform
