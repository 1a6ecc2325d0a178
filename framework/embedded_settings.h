// The settings the program carries enciphered inside its own file (resource
// "BINARY" #4096), read once per process.
#pragma once

#include <string>

#include "framework/settings_store.h"

namespace kelvane::framework {

// A fresh copy of the process-wide settings store, which is filled from the
// embedded settings text on the first call and never reloaded. Changes to a
// copy (such as sections created by lookups) do not reach the store. A
// program file without the resource, or with a damaged one, gives empty
// settings, so every lookup returns its default.
SettingsStore LoadEmbeddedSettings();

// The deciphered settings text of the running program, cached per program
// file. When the resource gave no text the text is "INVALID" (returned as
// such by the first call, empty by later ones), which parses to no settings.
std::wstring LoadEmbeddedSettingsText();

}  // namespace kelvane::framework
