#pragma once
// The runtime class of the connector lines' persistent reactor, registered at load and
// removed at unload.
namespace veltrace {

// Registers the class, or finds our own registration of it still there. A different class
// under the same name is a fatal clash: the host aborts with "Class mismatch".
void registerLinkReactorClass();
// Removes the class (objects of it that still exist keep working).
void unregisterLinkReactorClass();

}  // namespace veltrace
