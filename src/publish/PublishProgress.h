#pragma once

#include <QString>

namespace kc {

// How page building reports its progress; the progress window and the
// command line implement it. The counter runs against one total and may be
// set back to 0 between stages.
class PublishProgress
{
public:
    virtual ~PublishProgress() = default;
    virtual void begin(int total) { Q_UNUSED(total); }
    virtual void stage(const QString &caption) { Q_UNUSED(caption); }
    virtual void counter(int done) { Q_UNUSED(done); }
    virtual void end() { }
};

// The running counter the builders advance.
class ProgressTrack
{
public:
    explicit ProgressTrack(PublishProgress *sink = nullptr) : m_sink(sink) { }
    void advance(int k)
    {
        m_done += k;
        if (m_sink)
            m_sink->counter(m_done);
    }
    void reset()
    {
        m_done = 0;
        if (m_sink)
            m_sink->counter(0);
    }
    void stage(const QString &caption)
    {
        if (m_sink)
            m_sink->stage(caption);
    }
    int done() const { return m_done; }

private:
    PublishProgress *m_sink;
    int m_done = 0;
};

} // namespace kc
