#include "groups/GroupDetailsDialog.h"

#include "ui_GroupDetailsDialog.h"

#include "db/Format.h"
#include "groups/Groups.h"
#include "ui/Messages.h"
#include "ui/UiServices.h"

CGroupDetailsDialog::CGroupDetailsDialog(int groupID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CGroupDetailsDialog>()), m_groupID(groupID)
{
    ui->setupUi(this);

    // Notifications and their handlers.
    On(ui->doneButton, &QPushButton::clicked, &CGroupDetailsDialog::OnDone);
}

CGroupDetailsDialog::~CGroupDetailsDialog() = default;

void CGroupDetailsDialog::OnInitDialog()
{
    ui->nameEdit->clear();
    ui->conflictEdit->setText(QStringLiteral("0"));
    if (m_groupID == -1) return;
    if (const std::optional<GroupEntry> group = LoadGroup(m_groupID)) {
        ui->nameEdit->setText(group->name);
        ui->conflictEdit->setText(Format("%d", group->conflict));
    }
}

void CGroupDetailsDialog::OnDone()
{
    // The name is shown as it will be stored.
    const QString name = ApostrophesToBackquotes(ui->nameEdit->text());
    ui->nameEdit->setText(name);
    const QString conflictText = ui->conflictEdit->text();
    const QString errors = GroupErrors(m_groupID, name, conflictText);
    if (!errors.isEmpty()) {
        ShowUnableToUpdate(QStringLiteral("The group is invalid.  The following errors were found:\n"), errors);
        return;
    }
    // The value is in its range now.
    m_groupID = SaveGroup(m_groupID, name, int(*ParseConflictValue(conflictText)));
    EndDialog(QDialog::Accepted);
}
