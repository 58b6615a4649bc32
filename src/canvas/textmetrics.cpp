#include "canvas/textmetrics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace korvimo {

namespace {

// Beyond this an em height is a broken file, not a diagram: clamp so that a
// malformed picture cannot ask the font engine for gigantic glyphs.
constexpr int kMaxEm = 16000; // Qt's metrics overflow a little above this

// GDI's MulDiv rounds halves away from zero. Computed wide: font sizes come
// from files and may be anything, and callers clamp the result.
long long mulDiv(long long number, int numerator, int denominator)
{
    const long long p = number * numerator;
    const long long half = denominator / 2;
    return p >= 0 ? (p + half) / denominator : -((-p + half) / denominator);
}

int clampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

QString cacheKey(const QString& name, int em, bool bold, bool italic)
{
    return QStringLiteral("%1|%2|%3%4").arg(name).arg(em).arg(int(bold)).arg(int(italic));
}

} // namespace

int TextMetrics::heightForPoints(int points)
{
    return clampToInt(-mulDiv(points, 96, 72));
}

int TextMetrics::pointsForHeight(int height)
{
    return clampToInt(mulDiv(std::llabs(static_cast<long long>(height)), 72, 96));
}

QFont TextMetrics::qtFont(const FontSpec& style) const
{
    QFont f(style.name.isEmpty() ? QStringLiteral("Arial") : style.name);
    f.setPixelSize(emHeight(style));
    f.setBold(style.bold);
    f.setItalic(style.italic);
    f.setUnderline(style.underline);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

const QFontMetricsF& TextMetrics::metricsFor(const FontSpec& style) const
{
    const QString key = cacheKey(style.name, emHeight(style), style.bold, style.italic);
    auto it = m_cache.find(key);
    if (it == m_cache.end()) {
        // A drawing uses a handful of fonts; a file that uses thousands is
        // measured without keeping them all.
        if (m_cache.size() >= 512)
            m_cache.clear();
        it = m_cache.emplace(key, QFontMetricsF(qtFont(style))).first;
    }
    return it->second;
}

int TextMetrics::emHeight(const FontSpec& style) const
{
    if (style.height < 0)
        return std::clamp(-style.height, 1, kMaxEm);
    if (style.height == 0) // GDI picks its default size for 0
        return 16;
    // A positive height is the cell height: find the em that gives it, from
    // the font's proportions at a large size.
    FontSpec probe = style;
    probe.height = -1000;
    const QFontMetricsF& m = metricsFor(probe);
    const double cell = m.ascent() + m.descent();
    const double em = cell > 0 ? style.height * 1000.0 / cell : style.height;
    return std::clamp(static_cast<int>(std::lround(em)), 1, kMaxEm);
}

double TextMetrics::ascent(const FontSpec& font) const
{
    return metricsFor(font).ascent();
}

double TextMetrics::descent(const FontSpec& font) const
{
    return metricsFor(font).descent();
}

int TextMetrics::textHeight(const FontSpec& font) const
{
    const QFontMetricsF& m = metricsFor(font);
    return static_cast<int>(std::lround(m.ascent())) + static_cast<int>(std::lround(m.descent()));
}

QList<int> TextMetrics::advances(const FontSpec& font, const QString& text) const
{
    const QFontMetricsF& m = metricsFor(font);
    QList<int> out;
    out.reserve(text.size());
    double sum = 0;
    long previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        double advance = 0;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            advance = m.horizontalAdvance(text.mid(i, 2));
        else if (!c.isLowSurrogate() || i == 0 || !text[i - 1].isHighSurrogate())
            advance = m.horizontalAdvance(c);
        sum += advance;
        // Rounding the running sum keeps the total exact: no drift over
        // long texts, whatever the individual fractions.
        const long now = std::lround(sum);
        out.append(static_cast<int>(now - previous));
        previous = now;
    }
    return out;
}

int TextMetrics::textWidth(const FontSpec& font, const QString& text) const
{
    int total = 0;
    for (int a : advances(font, text))
        total += a;
    return total;
}

} // namespace korvimo
