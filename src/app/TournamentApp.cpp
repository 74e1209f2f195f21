#include "app/TournamentApp.h"

#include "app/MainDialog.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "ui/Dialog.h"

int CTournamentApp::Run()
{
    if (!CDialog::Guarded([] {
            CDatabase::Open();
            EnsureSchema();
        })) {
        CDatabase::Close();
        return 1;
    }
    {
        CMainDialog mainDialog;
        mainDialog.DoModal();
    }
    CDatabase::Close();
    return 0;
}
