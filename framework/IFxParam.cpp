#include "framework/IFxParam.h"

#include "framework/TextField.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Truncates toward zero into a 32-bit integer, saturating instead of
// overflowing for values outside its range.
int TruncateToInt(double v)
{
    if (!(v == v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

} // namespace

//------------------------------------------------------------------------
void IFxParam::SetupContinuous(const char* name, double defaultVal, double minVal, double maxVal,
                               double step, const char* label, const char* group)
{
    if (mKind == kKindNone)
        mKind = kKindDouble;
    fx::CopyText(mName, name);
    fx::CopyText(mLabel, label);
    fx::CopyText(mGroup, group);
    mValue = mDefault = defaultVal;
    mMin = minVal;
    mMax = std::max(maxVal, minVal + step);
    mStep = step;

    mDecimals = 0;
    double s = step;
    while (s != std::floor(s) && mDecimals < kMaxDecimals) {
        ++mDecimals;
        s *= 10.0;
    }
}

//------------------------------------------------------------------------
void IFxParam::SetupInteger(const char* name, int defaultVal, int minVal, int maxVal,
                            const char* label, const char* group)
{
    if (mKind == kKindNone)
        mKind = kKindInt;
    SetupContinuous(name, defaultVal, minVal, maxVal, 1.0, label, group);
}

//------------------------------------------------------------------------
void IFxParam::SetupEnum(const char* name, int defaultVal, int nValues, const char* label, const char* group)
{
    if (mKind == kKindNone)
        mKind = kKindEnum;
    SetupContinuous(name, defaultVal, 0.0, nValues > 1 ? nValues - 1 : 0, 1.0, label, group);
}

//------------------------------------------------------------------------
void IFxParam::SetupBool(const char* name, bool defaultVal, const char* label, const char* group)
{
    if (mKind == kKindNone)
        mKind = kKindBool;
    SetupContinuous(name, defaultVal ? 1.0 : 0.0, 0.0, 1.0, 1.0, label, group);
}

//------------------------------------------------------------------------
void IFxParam::SetShapeExponent(double shape)
{
    if (shape != 0.0)
        mShape = shape;
}

//------------------------------------------------------------------------
void IFxParam::AddValueText(int value, const char* text)
{
    ValueTextEntry entry;
    entry.value = value;
    fx::CopyText(entry.text, text);
    mValueTexts.push_back(entry);
}

//------------------------------------------------------------------------
void IFxParam::SetPlain(double plain)
{
    if (!(plain >= mMin))
        mValue = mMin;
    else if (plain > mMax)
        mValue = mMax;
    else
        mValue = plain;
}

//------------------------------------------------------------------------
double IFxParam::FromNormalized(double normalized) const
{
    double plain = std::pow(normalized, mShape) * (mMax - mMin) + mMin;
    if (mKind != kKindDouble)
        plain = std::floor(plain / mStep + 0.5) * mStep;
    return std::min(plain, mMax);
}

//------------------------------------------------------------------------
void IFxParam::SetFromNormalized(double normalized)
{
    if (std::isnan(normalized))
        return;
    mValue = FromNormalized(std::clamp(normalized, 0.0, 1.0));
}

//------------------------------------------------------------------------
double IFxParam::ToNormalized(double plain) const
{
    plain = std::clamp(plain, mMin, mMax);
    return std::pow((plain - mMin) / (mMax - mMin), 1.0 / mShape);
}

//------------------------------------------------------------------------
const ValueTextEntry* IFxParam::FindEntry(int value) const
{
    for (const auto& entry : mValueTexts)
        if (entry.value == value)
            return &entry;
    return nullptr;
}

//------------------------------------------------------------------------
const char* IFxParam::UnitLabel() const
{
    const ValueTextEntry* entry = FindEntry(TruncateToInt(mValue));
    if (entry != nullptr && entry->text[0] != '\0')
        return "";
    return mLabel;
}

//------------------------------------------------------------------------
const char* IFxParam::ValueText(int value) const
{
    const ValueTextEntry* entry = FindEntry(value);
    return entry ? entry->text : "";
}

//------------------------------------------------------------------------
bool IFxParam::FindValueText(const char* text, int* value) const
{
    if (text == nullptr)
        return false;
    for (const auto& entry : mValueTexts) {
        if (std::strcmp(entry.text, text) == 0) {
            if (value != nullptr)
                *value = entry.value;
            return true;
        }
    }
    return false;
}

//------------------------------------------------------------------------
void IFxParam::FormatValue(double value, bool normalized, char* out, bool withDisplayText,
                           std::size_t outSize) const
{
    if (out == nullptr || outSize == 0)
        return;
    if (normalized)
        value = std::pow(value, mShape) * (mMax - mMin) + mMin;
    if (withDisplayText) {
        const ValueTextEntry* entry = FindEntry(TruncateToInt(value));
        if (entry != nullptr && entry->text[0] != '\0') {
            fx::CopyText(out, outSize, entry->text);
            return;
        }
    }
    if (mShowNegated)
        value = -value;
    if (mDecimals > 0)
        std::snprintf(out, outSize, "%.*f", mDecimals, value);
    else
        std::snprintf(out, outSize, "%d", TruncateToInt(value));
}
