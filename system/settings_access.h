#pragma once
// Read-only access to [Config] of system.conf for code that may run on any thread.
namespace Setting {

// The integer under `key` in [Config] of system.conf, or `fallback` while no settings
// service exists or the key is missing or not a number. Never inserts into the store.
int readConfigInt(const char* key, int fallback);

}  // namespace Setting
