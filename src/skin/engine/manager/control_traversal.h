#pragma once

#include "skin/engine/manager/control_rules.h"

#include <functional>
#include <utility>
#include <vector>

class QWidget;

// The walk over a skinned window's controls that gives each one its skin kind
// (the decisions of control_rules over the facts of real widgets), and the
// registry through which the control kinds make their skin objects.
namespace skin {

class TSkinControl;
class TWinSkinForm;

// Makes the (not yet attached) skin object of one kind for a control. The
// object must be a child of `owner`.
using SkinKindFactory =
    std::function<TSkinControl*(QWidget* control, QObject* owner, const ControlDecision& decision)>;

// The factories a kind's module builds, by kind.
using SkinKindFactories = std::vector<std::pair<SkinKind, SkinKindFactory>>;

// Gives a kind its factory, in place of the one it had; a decided kind
// without one is recorded as decided and left plain. An empty factory removes
// the kind again. The built kinds come in through registerBuiltKinds
// (control_kinds); this is how a program or a test puts one of its own in.
void registerSkinKind(SkinKind kind, SkinKindFactory factory);
// Registers the factory unless the kind has one already.
void registerSkinKindDefault(SkinKind kind, SkinKindFactory factory);

// Makes the (not yet attached) skin object of a kind for a control, as a
// child of the control; null when the kind has no factory or declines it.
TSkinControl* makeSkinObject(SkinKind kind, QWidget* control, const ControlDecision& decision);

// The factory of a kind whose objects are made as `new Kind(owner)`.
template <class Kind> SkinKindFactory skinKindOf() {
    return [](QWidget*, QObject* owner, const ControlDecision&) -> TSkinControl* {
        return new Kind(owner);
    };
}

// The facts the decision tables read about a control.
ControlFacts controlFactsOf(const QWidget* control);

// The traversal of a finished framework form: every control it holds, then
// (with xcPopupMenu) its popup menus, then its controls in tab order; none is
// taken twice.
void SkinFormControls(TWinSkinForm& form);

// The child windows of a bare window, by window class.
void SkinBareWindowControls(TWinSkinForm& form);

} // namespace skin
