// Saving a service's registry key to a .reg file with the registry editor, alone
// (ReqBackupRegEntry) or before deleting the service (ReqUninstall).
#pragma once

#include <string>

namespace corvane {

class batch;

// InstallDir + "\registry entries\" (with the platform's separator). Part of the installation:
// the program writes into it but never creates it.
std::string RegistryBackupFolder(const std::string& installDir);

// The registry editor's arguments: the export switch, the backup file in double quotes and the
// service's key under HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services in double quotes.
std::string RegistryExportCommandLine(const std::string& backupFolder, const std::string& keyName);

// The whole ReqBackupRegEntry request, ending quietly.
void BackupRegEntryRequest(batch& worker);

// The whole ReqUninstall request: stop with dependents, back up, delete, end with refresh. A
// backup that could not be written aborts it before the deletion.
void UninstallRequest(batch& worker);

}  // namespace corvane
