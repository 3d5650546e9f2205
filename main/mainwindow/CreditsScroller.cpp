#include "mainwindow/CreditsScroller.h"

#include "common/LeadingNumber.h"

#include <cmath>

CreditsScroller::CreditsScroller(int boxWidth, int boxHeight, Measure width, Measure height)
    : m_width(boxWidth)
    , m_height(boxHeight)
    , m_measureWidth(std::move(width))
    , m_measureHeight(std::move(height))
{
    m_size.fill(kDesignPointSize);
}

void CreditsScroller::place()
{
    for (int i = 0; i < kLines; ++i) {
        m_top[size_t(i)] = m_height + m_measureHeight(i, m_size[size_t(i)]);
        centre(i);
    }
}

void CreditsScroller::setOffsetText(const QString &text)
{
    m_offset = int(LenientInteger(text));
}

void CreditsScroller::setSize(int line, double size)
{
    m_size[size_t(line)] = size;
}

void CreditsScroller::centre(int line)
{
    m_left[size_t(line)] = (m_width - m_measureWidth(line, m_size[size_t(line)])) / 2;
}

void CreditsScroller::tick()
{
    m_offset += 5;
    int y = 400;
    for (int i = 0; i < kLines; ++i) {
        m_top[size_t(i)] = m_height - m_offset + y;
        y += 800;
    }
    if (m_top[kLines - 1] < -100) {
        for (int i = 0; i < kLines; ++i) {
            m_top[size_t(i)] = m_height + m_measureHeight(i, m_size[size_t(i)]);
            setSize(i, 25);
            centre(i);
        }
        m_offset = 0;
    }
    const int half = int(std::floor(0.5 * m_height));
    const int threeQuarters = int(std::floor(0.75 * m_height));
    const int quarter = int(std::floor(0.25 * m_height));
    const int fifth = int(std::floor(0.2 * m_height));
    for (int i = 0; i < kLines; ++i) {
        const int t = m_top[size_t(i)];
        if (half < t && t < threeQuarters) {
            setSize(i, 20);
            centre(i);
        }
        if (quarter < t && t < half) {
            setSize(i, 10);
            centre(i);
        }
        if (t < fifth) {
            setSize(i, 6);
            centre(i);
        }
    }
}
