#pragma once

// The control kinds that are built, given to the traversal (control_traversal).
namespace skin {

// Gives every built kind its factory, except a kind that has one already: one
// a program or a test registered stays. The skin manager calls it when it is
// made, so a kind removed (an empty factory) is back with the next manager.
void registerBuiltKinds();

} // namespace skin
