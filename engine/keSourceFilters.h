// Registration of the optional outside source-filter modules that widen the
// range of formats the media graph could open. Absent modules are silently
// skipped; nothing else depends on them.
#pragma once

/// Loads "QTSourcePX32.dll" and calls its "DllRegisterServer"; then asks
/// "MLProxy.dll" for its class object. Every failure is silent.
void RegisterSourceFilters();
/// Calls "DllUnregisterServer" of the module that RegisterSourceFilters kept.
void UnregisterSourceFilters();
