#pragma once
// Group Details: names a group and sets its conflict value. Nothing is
// written until the name and the value are both sound; closing the window
// writes nothing.

#include "ui/Dialog.h"

#include <memory>

namespace Ui {
class CGroupDetailsDialog;
}

class CGroupDetailsDialog : public CDialog {
    Q_OBJECT
public:
    // groupID -1 forms a new group.
    explicit CGroupDetailsDialog(int groupID, QWidget* parent = nullptr);
    ~CGroupDetailsDialog() override;

    // The saved group's id; the given id while nothing was saved.
    int GroupID() const { return m_groupID; }

protected:
    void OnInitDialog() override;

private:
    void OnDone();

    std::unique_ptr<Ui::CGroupDetailsDialog> ui;
    int m_groupID;
};
