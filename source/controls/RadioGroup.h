// Radio behaviour shared by the button groups: at most one member is on, and with `lock` the
// member that is on cannot be clicked off. Members point to their group; the group keeps
// only the member that is on. `Group` supplies switchOff(Member&), which turns a member off.
#pragma once

template <typename Group, typename Member>
class RadioGroup
{
public:
    // Makes `member` a member of this group.
    void addButton(Member* member)
    {
        if (member)
            member->group = static_cast<Group*>(this);
    }
    // Forgets `member` when it is the one that is on.
    void removeButton(Member* member)
    {
        if (member && member == current)
            current = nullptr;
    }
    // Called by a member whenever its on state changes.
    void exclusivitor(Member* member, bool on)
    {
        if (!on || !member)
            return;
        // The member that is already on stays on (and locked), rather than being reset.
        if (member != current && current)
        {
            if (lock)
                current->disabled = false;
            Group::switchOff(*current);
        }
        current = member;
        if (lock)
            member->disabled = true;
    }

    Member* current = nullptr; // the member that is on now
    bool lock = true;          // hold the member that is on disabled
};
