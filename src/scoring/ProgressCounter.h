#pragma once

namespace kc {

class Prompter;

// The progress bar of 結果確定: a running base plus the row counter of the
// current pass; each pass over the rows adds the entry count to the base.
class ProgressCounter
{
public:
    ProgressCounter() = default;
    explicit ProgressCounter(Prompter &prompter) : m_prompter(&prompter) { }

    void begin(int total);
    void advance(int rowCounter);
    void endPass(int rows) { m_base += rows; }
    void end();

    int base() const { return m_base; }
    int total() const { return m_total; }

private:
    Prompter *m_prompter = nullptr;
    int m_base = 0;
    int m_total = 0;
};

} // namespace kc
