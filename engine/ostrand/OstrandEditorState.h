#pragma once
// The editor state the plug-in keeps beside its engine: the attach indices of
// the editor controls it addresses later (the memory slots and the undo
// history are Ostrand members). The editor build (ui/) fills the handles; the editor services
// (ui/) and the plug-in's controls read and change the rest. All of it lives
// on the editor thread.
#include "engine/ostrand/OstrandParams.h"

#include <array>
#include <vector>

class CustomTextControlD;
class MemoryContactControl;
class UndoContactControl;
class TextBoxPrompt;

// One set of normalised values of parameters 0 ... 14.
using OstrandSnapshot = std::array<double, kNumOstrandParams>;

// Attach indices of the controls the plug-in addresses, as the surface
// returned them; -1 until the editor is built. Handles are doubles because
// the controls receive them as such and truncate them where used.
struct OstrandEditorHandles {
    double delayReadout = -1, tightLabel = -1, classicLabel = -1, juiceLabel = -1, attackLabel = -1,
           releaseLabel = -1, angleLabel = -1, sensitivityLabel = -1, strengthLabel = -1,
           balanceLabel = -1, outLabel = -1, versionLabel = -1;
    double tightPlate = -1, anglePlate = -1, classicPlate = -1, juicePlate = -1, attackPlate = -1,
           releasePlate = -1, sensitivityPlate = -1, strengthPlate = -1, balancePlate = -1,
           outPlate = -1, envPlate = -1, pdrPlate = -1, extPlate = -1, logoPlate = -1;
    double vuLayer1 = -1, vuLayer2 = -1, vuLayer3 = -1;
    double screw = -1, logoLink = -1;
    double switchLight1 = -1, switchLight2 = -1, switchLight3 = -1;
    double faderLight = -1, delayPrompt = -1;
    double memoryLight[4] = {-1, -1, -1, -1};
    double memoryBlink[4] = {-1, -1, -1, -1};
    double memoryButton[4] = {-1, -1, -1, -1};
    double undoLight = -1, redoLight = -1, undoBlink = -1, redoBlink = -1;
    double undoButton = -1, redoButton = -1;
    double levelMeterLeft = -1, levelMeterRight = -1, clipLightLeft = -1, clipLightRight = -1;
    double infoButton = -1, infoScreen = -1, modeIndicator = -1, modeToggle = -1;

    // The control objects the plug-in changes directly (owned by the surface).
    CustomTextControlD* readoutLabels[11] = {}; // indexed by OstrandReadout
    CustomTextControlD* versionText = nullptr;
    MemoryContactControl* memoryButtons[4] = {};
    UndoContactControl* undoControl = nullptr;
    UndoContactControl* redoControl = nullptr;
    TextBoxPrompt* delayPromptControl = nullptr;
};

// The undo history keeps at most this many snapshots, dropping the oldest.
constexpr int kUndoHistoryCap = 1000;
