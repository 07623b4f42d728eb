#pragma once
// The HTML templates of the demo's data directory, from which the game
// writes its pages into the saved-game directory. Placeholders stand
// between two asterisks; the game replaces them with the lists it writes.

#include "platform/core/Core.h"

namespace demo_templates
{
// The index of the equipment pages that the Vehicle Specs window opens
// on: the link lines of the vehicles, their ammunition and the weapons.
const char* const kIndexTemplate = "<HTML>\r\n"
                                   "<HEAD>\r\n<TITLE>Vehicle Specs</TITLE>\r\n</HEAD>\r\n"
                                   "<BODY BGCOLOR=\"#FFFFFF\">\r\n"
                                   "<H1>Kedravin Equipment</H1>\r\n"
                                   "<H2>Vehicles</H2>\r\n*vehicleList*\r\n"
                                   "<H2>Ammunition</H2>\r\n*ammoList*\r\n"
                                   "<H2>Weapons</H2>\r\n*weaponList*\r\n"
                                   "</BODY>\r\n"
                                   "</HTML>\r\n";

struct Template
{
    const char* fileName;
    const char* text;
};

const Template kTemplates[] = {{"index.htm", kIndexTemplate}};

inline BOOL WriteDemoTemplates(const CString& dataDir, CString& errorText)
{
    for (const Template& t : kTemplates)
    {
        try
        {
            CFile file(JoinPath(dataDir, t.fileName), CFile::modeCreate | CFile::modeWrite);
            file.Write(t.text, static_cast<UINT>(CString(t.text).GetLength()));
            file.Close();
        }
        catch (const CException& e)
        {
            errorText = e.GetErrorText();
            return FALSE;
        }
    }
    return TRUE;
}
}  // namespace demo_templates
