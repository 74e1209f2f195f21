#include "app/TournamentApp.h"

#include "app/Dialog.h"
#include "app/MainDialog.h"
#include "db/Database.h"
#include "db/Schema.h"

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
