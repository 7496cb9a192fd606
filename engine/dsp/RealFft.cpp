// Real FFT by the usual split: the n real values, read as n/2 complex
// points z[k] = x[2k] + j·x[2k+1], are transformed by one complex FFT; the
// spectra of the even and odd samples are then separated by symmetry and
// recombined with the twiddles e^(-j2πk/n). The inverse runs the same steps
// backwards.
#include "engine/dsp/RealFft.h"

#include <cmath>
#include <numbers>

//------------------------------------------------------------------------------
bool RealFft::SetSize(int n)
{
    if (n < 4 || n > 2 * ComplexFft::kMaxSize || (n & (n - 1)) != 0)
        return false;
    if (n == mSize)
        return true;
    if (!mHalf.SetSize(n / 2))
        return false;
    mTwiddles.resize(static_cast<size_t>(n / 4 + 1) * 2);
    for (int k = 0; k <= n / 4; ++k)
    {
        const double angle = 2.0 * std::numbers::pi * k / n;
        mTwiddles[2 * k] = std::cos(angle);
        mTwiddles[2 * k + 1] = -std::sin(angle);
    }
    mTwiddles[n / 2] = 0.0; // k = n/4: exactly -j, so the middle bin stays exact
    mTwiddles[n / 2 + 1] = -1.0;
    mSize = n;
    return true;
}

//------------------------------------------------------------------------------
void RealFft::Forward(double* data) const
{
    const int half = mSize / 2;
    if (half == 0)
        return;
    mHalf.Forward(data);

    const double z0r = data[0];
    const double z0i = data[1];
    data[0] = z0r + z0i; // DC
    data[1] = z0r - z0i; // Nyquist

    for (int k = 1; k <= half / 2; ++k)
    {
        const int mk = half - k;
        const double ar = data[2 * k], ai = data[2 * k + 1];
        const double br = data[2 * mk], bi = data[2 * mk + 1];
        // E = (Z[k] + conj Z[M-k]) / 2, O = (Z[k] - conj Z[M-k]) / 2j
        const double er = 0.5 * (ar + br), ei = 0.5 * (ai - bi);
        const double or_ = 0.5 * (ai + bi), oi = -0.5 * (ar - br);
        const double wr = mTwiddles[2 * k], wi = mTwiddles[2 * k + 1];
        const double tr = wr * or_ - wi * oi;
        const double ti = wr * oi + wi * or_;
        // X[k] = E + W^k·O, X[M-k] = conj(E - W^k·O)
        data[2 * k] = er + tr;
        data[2 * k + 1] = ei + ti;
        data[2 * mk] = er - tr;
        data[2 * mk + 1] = ti - ei;
    }
}

//------------------------------------------------------------------------------
void RealFft::Inverse(double* data) const
{
    const int half = mSize / 2;
    if (half == 0)
        return;

    const double dc = data[0];
    const double nyquist = data[1];
    data[0] = dc + nyquist;
    data[1] = dc - nyquist;

    for (int k = 1; k <= half / 2; ++k)
    {
        const int mk = half - k;
        const double ar = data[2 * k], ai = data[2 * k + 1];
        const double br = data[2 * mk], bi = data[2 * mk + 1];
        // E = X[k] + conj X[M-k], O = (X[k] - conj X[M-k])·conj(W^k)
        const double er = ar + br, ei = ai - bi;
        const double dr = ar - br, di = ai + bi;
        const double wr = mTwiddles[2 * k], wi = -mTwiddles[2 * k + 1];
        const double or_ = dr * wr - di * wi;
        const double oi = dr * wi + di * wr;
        // Z[k] = E + j·O, Z[M-k] = conj E + j·conj O
        data[2 * k] = er - oi;
        data[2 * k + 1] = ei + or_;
        data[2 * mk] = er + oi;
        data[2 * mk + 1] = or_ - ei;
    }
    mHalf.Inverse(data);
}
