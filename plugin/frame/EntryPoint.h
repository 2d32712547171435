#pragma once
// What the plug-in does when the host loads and unloads it.
namespace veltrace {

// Load: unlocks the application, starts the version query, records "Loadme", reads the
// language, registers the command table, prints the banner, registers the reactor class,
// counts the load and writes the demand-load record.
void initApplication(void* appId);
// Unload: removes the command group and the reactor class and waits for the outreach workers.
void unloadApplication();

}  // namespace veltrace
