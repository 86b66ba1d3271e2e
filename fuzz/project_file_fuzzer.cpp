// Arbitrary bytes as a project file: parsing never crashes, never reads
// past the data, and never allocates beyond the file's size; what parses
// writes back to bytes that parse to the same records.
#include <QByteArray>

#include <cstdlib>

#include "ProjectFileHelper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    ProjectFileHelper::Project project;
    if (ProjectFileHelper::parse(bytes, project) != ProjectFileHelper::ReadSuccess) {
        return 0;
    }
    ProjectFileHelper::Project again;
    if (ProjectFileHelper::parse(ProjectFileHelper::serialize(project), again) !=
            ProjectFileHelper::ReadSuccess ||
        again.subWindows.size() != project.subWindows.size()) {
        abort();
    }
    for (int i = 0; i < project.subWindows.size(); i++) {
        if (again.subWindows[i].content != project.subWindows[i].content ||
            again.subWindows[i].info.restorationData != project.subWindows[i].info.restorationData) {
            abort();
        }
    }
    return 0;
}
