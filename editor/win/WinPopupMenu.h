#pragma once
// Builds a system popup menu from an IMenuModel. Item ids follow the model's
// running numbering (IMenuModel::FindById), shifted by kSystemMenuIdBase so
// that the model's first item never gets id 0, which the system also uses
// for "nothing chosen".
#include "editor/IMenuModel.h"

#include <windows.h>

constexpr UINT kSystemMenuIdBase = 1;

// The system menu for model, texts prefixed after the model's prefix style,
// separators as separators, submenus as submenu entries, other items with
// their greyed, disabled and checked states. Null when the system refuses.
// The caller destroys it (DestroyMenu frees the submenus too).
HMENU BuildSystemPopupMenu(const IMenuModel& model);

// The model id a system menu id stands for, or -1 for none (0 or outside the
// model's ids).
int ModelIdFromSystemId(const IMenuModel& model, UINT systemId);
