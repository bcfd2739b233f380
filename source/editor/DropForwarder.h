// The background's drop target: hands each drag to the editor while it is linked. The frame
// holds this small object rather than the editor, so that the frame never keeps the editor
// alive: the host's last release ends the editor even if removed never came. UI thread only.
#pragma once

#include "vstgui.h"

class DropForwarder : public VSTGUI::IDropTarget, public VSTGUI::NonAtomicReferenceCounted
{
public:
    // `target` is not referenced; unlink before it goes.
    explicit DropForwarder(VSTGUI::IDropTarget* target) : target(target) {}
    // From now on every drag is refused.
    void unlink() { target = nullptr; }

    VSTGUI::DragOperation onDragEnter(VSTGUI::DragEventData data) override
    {
        return target ? target->onDragEnter(data) : VSTGUI::DragOperation::None;
    }
    VSTGUI::DragOperation onDragMove(VSTGUI::DragEventData data) override
    {
        return target ? target->onDragMove(data) : VSTGUI::DragOperation::None;
    }
    void onDragLeave(VSTGUI::DragEventData data) override
    {
        if (target)
            target->onDragLeave(data);
    }
    bool onDrop(VSTGUI::DragEventData data) override { return target && target->onDrop(data); }

    void remember() override { NonAtomicReferenceCounted::remember(); }
    void forget() override { NonAtomicReferenceCounted::forget(); }

private:
    VSTGUI::IDropTarget* target;
};
