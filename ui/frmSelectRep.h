#pragma once

#include <QString>

#include "FixedDialog.h"
#include "IMessageBox.h"

class QCheckBox;
class QComboBox;
class FileList;
class FolderList;

// The chooser's result: the chosen list file or folder, or empty. Only the chooser writes
// it; in folder mode it is also where the next showing opens.
extern QString g_sSelectedPath;

// "Sélection de fichiers": picks a folder of scripts (g_sSourceMode "SelectRep") or one list
// file ("FichierSQL") by browsing volumes, folders and files.
class frmSelectRep final : public FixedDialog {
public:
    frmSelectRep(IMessageBox& messageBox, QWidget* owner);

private:
    void Form_Load();
    void WdrvSelectDrive_Change();
    void WdirSelectRepertoires_Change();
    void WchkWithFiles_Click();
    void WfilSelectFichiers_Click();
    void WfilSelectFichiers_DblClick();
    void RefreshSelection();
    void cmdValider_Click();
    void cmdAnnuler_Click();

    void ShowFilesOfOpenFolder();
    bool ListFileMode() const;

    IMessageBox& m_messageBox;

    QComboBox* WdrvSelectDrive;
    FolderList* WdirSelectRepertoires;
    FileList* WfilSelectFichiers;
    QCheckBox* WchkWithFiles;
    QPushButton* cmdValider;

    // Where the drive list returns when the folder list cannot open the chosen drive.
    int m_lPreviousDrive = -1;
};
