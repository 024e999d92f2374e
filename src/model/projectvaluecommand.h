#pragma once

#include <QUndoCommand>

#include <concepts>
#include <functional>
#include <utility>

// One value of a project set as an undo step: apply writes a value into the
// project and tells what changed, for redo with the new value, for undo with the old.
// Steps of one merge id in a row are one step (a value typed digit by digit); typed
// back to where it started, the step is gone.
template <class T> class ProjectValueCommand : public QUndoCommand {
public:
    ProjectValueCommand(const QString& text, T before, T after, std::function<void(const T&)> apply, int merge_id = -1)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_apply(std::move(apply)),
          m_mergeId(merge_id)
    {
    }
    void redo() override { m_apply(m_after); }
    void undo() override { m_apply(m_before); }
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override
    {
        m_after = static_cast<const ProjectValueCommand*>(other)->m_after;
        if constexpr (std::equality_comparable<T>)
            setObsolete(m_after == m_before);
        return true;
    }

private:
    T m_before;
    T m_after;
    std::function<void(const T&)> m_apply;
    int m_mergeId;
};
