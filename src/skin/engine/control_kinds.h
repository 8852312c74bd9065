#pragma once

// The control kinds that are built, given to the traversal (control_traversal).
namespace skin {

// Registers every built kind's factory; safe to call again.
void registerBuiltKinds();

} // namespace skin
