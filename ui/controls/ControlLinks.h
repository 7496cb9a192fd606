#pragma once
// How the plug-in's own controls reach the plug-in and the partner controls
// they drive.
//
// The framework hands every control its plug-in as an IFxBase*. The controls
// in this folder are only ever made by Ostrand's editor build, which passes
// the Ostrand itself, so OstrandOf's downcast always names the object's real
// type. Ostrand derives from IFxBase through ordinary (non-virtual)
// inheritance in both of its builds (the headless IFxPlain base and the
// VST 3 base), so a static_cast is exact. Because Ostrand's layout differs
// between those builds, every file that includes this one is compiled once
// per build (see ui/CMakeLists.txt).
//
// A handle is an attach index stored as a double and truncated where used;
// one that does not address a control of the surface is ignored, so every
// operation on it is skipped.
#include "editor/EditorTypes.h"

class IControl;
class IEditorSurface;
class IFxParam;
class Ostrand;

// The control's plug-in as the Ostrand it is.
Ostrand& OstrandOf(const IControl& control);

// The attach index a handle stands for; -1 for negative, NaN or huge handles.
int HandleIndex(double handle);

// The control with that handle on the control's surface, or null.
IControl* PartnerControl(const IControl& control, double handle);
// Shows (SetHidden(false)) or hides (SetHidden(true)) the partner.
void ShowPartner(const IControl& control, double handle, bool show);
// Shows or hides the partner, then marks it clean.
void ShowPartnerClean(const IControl& control, double handle, bool show);
// PushValueToControl(handle, value) on the control's surface.
void SetPartnerValue(const IControl& control, double handle, double value);
// The partner's value, or fallback when the handle addresses nothing.
double PartnerValue(const IControl& control, double handle, double fallback);

// Plain value of a normalised one: v^shape * (max - min) + min.
double PlainFromNormalized(const IFxParam& param, double normalized);
// Normalised value of a plain one: ((plain - min) / (max - min))^(1 / shape),
// the plain value first held to the range (NaN to its minimum) so that the
// result is always a number in 0 ... 1.
double NormalizedFromPlain(const IFxParam& param, double plain);

// Copies text into a fixed buffer when it is given and not empty (cut to
// the buffer, always terminated); otherwise leaves the buffer as it is.
void CopyTextIfGiven(char* buffer, int size, const char* text);
