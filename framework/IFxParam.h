#pragma once
// One automatable parameter. Hosts and editor controls speak normalised
// values in [0, 1]; state, presets and the signal chain speak plain values in
// the parameter's own units. The mapping between them runs through a shape
// exponent, and non-continuous kinds snap to their step.
#include "framework/RelaxedAtomic.h"

#include <cstddef>
#include <vector>

enum ParamKind : int { kKindNone = 0, kKindBool = 1, kKindInt = 2, kKindEnum = 3, kKindDouble = 4 };

// A value-to-text override: the text shown instead of the number.
struct ValueTextEntry {
    int value = 0;
    char text[32] = {};
};

class IFxParam {
public:
    static constexpr std::size_t kNameSize = 32;
    static constexpr int kMaxDecimals = 6;

    // Initialisers, called once per parameter by the plug-in's constructor.
    // Texts longer than their 32-byte fields are cut to fit.
    void SetupContinuous(const char* name, double defaultVal, double minVal, double maxVal,
                         double step, const char* label = "", const char* group = "");
    void SetupInteger(const char* name, int defaultVal, int minVal, int maxVal,
                      const char* label = "", const char* group = "");
    // A choice among nValues values 0 .. nValues - 1 (their texts come from
    // AddValueText); the editor offers it as a menu.
    void SetupEnum(const char* name, int defaultVal, int nValues, const char* label = "",
                   const char* group = "");
    // An on/off switch, values 0 and 1.
    void SetupBool(const char* name, bool defaultVal, const char* label = "", const char* group = "");
    // Sets the exponent of the normalised-to-plain curve; 0.0 is ignored.
    void SetShapeExponent(double shape);
    void AddValueText(int value, const char* text);
    void SetShowNegated(bool on) { mShowNegated = on; }
    void SetAutomatable(bool on) { mAutomatable = on; }

    // Plain setter for state restore: clamps into [min, max], NaN becomes min.
    void SetPlain(double plain);
    // Normalised setter for host automation and editor edits. The input is
    // clamped into [0, 1] and NaN is ignored, so no value outside the range
    // (or NaN from a negative base under a fractional shape) reaches the
    // signal chain.
    void SetFromNormalized(double normalized);
    // The plain value a normalised one maps to (shape, snapping, upper clamp).
    double FromNormalized(double normalized) const;
    double ToNormalized() const { return ToNormalized(mValue); }
    double ToNormalized(double plain) const;

    ParamKind Kind() const { return mKind; }
    double Value() const { return mValue; }
    double Min() const { return mMin; }
    double Max() const { return mMax; }
    double Step() const { return mStep; }
    double Shape() const { return mShape; }
    double Default() const { return mDefault; }
    int Decimals() const { return mDecimals; }
    bool ShowNegated() const { return mShowNegated; }
    bool Automatable() const { return mAutomatable; }

    const char* DisplayName() const { return mName; }
    const char* GroupName() const { return mGroup; }
    const char* Label() const { return mLabel; }
    // The label, or "" when a non-empty display text covers the current value.
    const char* UnitLabel() const;
    const char* ValueText(int value) const;
    int ValueTextCount() const { return static_cast<int>(mValueTexts.size()); }
    bool FindValueText(const char* text, int* value) const;

    // Formats a value for display (never with the label). With normalized set
    // the value is first mapped to plain, without snapping or clamping.
    void FormatValue(double value, bool normalized, char* out, bool withDisplayText,
                     std::size_t outSize = 128) const;

private:
    const ValueTextEntry* FindEntry(int value) const;

    ParamKind mKind = kKindNone;
    // The host's controller sets it without the plug-in lock while the audio
    // thread and the timer read it under the lock: a relaxed atomic, so the
    // two never race (a reader sees the old value or the new one).
    RelaxedAtomic<double> mValue{0.0};
    double mMin = 0.0;
    double mMax = 1.0;
    double mStep = 1.0;
    double mShape = 1.0;
    double mDefault = 0.0;
    int mDecimals = 0;
    char mName[kNameSize] = {};
    char mLabel[kNameSize] = {};
    char mGroup[kNameSize] = {};
    bool mShowNegated = false;
    bool mAutomatable = true;
    std::vector<ValueTextEntry> mValueTexts;
};
