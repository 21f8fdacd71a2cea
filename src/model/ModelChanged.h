#pragma once
// The program-wide modelChanged flag: the model differs from the last saved file. Page edits
// and device reads set it; New, Open and Save clear it; closing asks to save while it is set.
// One instance lives for the whole process (modelChanged()); the class itself is small so
// tests can exercise it on an instance of their own.

class ModelChangedFlag {
public:
    bool IsSet() const { return m_value; }
    void Set() { m_value = true; }
    void Clear() { m_value = false; }
    void Assign(bool value) { m_value = value; }

    // A page that rewrites its own controls by program (a derived value, a recomputed table)
    // holds one of these meanwhile: the flag is put back as it was, so such rewriting never
    // counts as an edit.
    class Preserve {
    public:
        explicit Preserve(ModelChangedFlag& flag) : m_flag(flag), m_saved(flag.IsSet()) {}
        ~Preserve() { m_flag.Assign(m_saved); }
        Preserve(const Preserve&) = delete;
        Preserve& operator=(const Preserve&) = delete;

    private:
        ModelChangedFlag& m_flag;
        bool m_saved;
    };

private:
    bool m_value = false;
};

// The process-wide flag.
inline ModelChangedFlag& modelChanged()
{
    static ModelChangedFlag flag;
    return flag;
}
