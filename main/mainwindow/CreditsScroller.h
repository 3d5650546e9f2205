#pragma once

#include <QString>

#include <array>
#include <functional>

/// The rising credit lines of the main window, in twips within the credits
/// box. Each tick moves the lines up 5 twips; lines shrink as they rise
/// (25, 20, 10, 6 points by band) and the cycle restarts once line 9 has
/// left the box by more than 100 twips.
class CreditsScroller
{
public:
    static constexpr int kLines = 9;
    static constexpr double kDesignPointSize = 20.25;

    /// Size of line \a line (0-based) at \a pointSize, in twips.
    using Measure = std::function<int(int line, double pointSize)>;

    CreditsScroller(int boxWidth, int boxHeight, Measure width, Measure height);

    /// The creation step: every line just below the box, centred.
    void place();
    void tick();

    int offset() const { return m_offset; }
    QString offsetText() const { return QString::number(m_offset); }
    /// The offset as its text box holds it (read leniently, "Text1" is 0).
    void setOffsetText(const QString &text);

    int top(int line) const { return m_top[size_t(line)]; }
    int left(int line) const { return m_left[size_t(line)]; }
    double pointSize(int line) const { return m_size[size_t(line)]; }

private:
    void setSize(int line, double size);
    void centre(int line);

    int m_width;
    int m_height;
    Measure m_measureWidth;
    Measure m_measureHeight;
    int m_offset = 0;
    std::array<int, kLines> m_top {};
    std::array<int, kLines> m_left {};
    std::array<double, kLines> m_size {};
};
