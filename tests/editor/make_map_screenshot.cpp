// Writes a picture of the story map as the editor draws it, made offscreen: the Quiz theme laid out by the
// core, drawn by the map view with the third card current. Usage: map_screenshot OUT.png
#include "app/workspace.h"
#include "check/checker.h"
#include "check/story_map.h"
#include "editor/story_map_view.h"
#include "model/archive.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: map_screenshot OUT.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path data = app::Workspace::FromEnvironment().DataRoot();
    const model::Project project = model::LoadProjectFile(data / "Themes" / "Quiz.cwp");
    editor::StoryMapView view;
    view.showMap(check::LayOutStoryMap(project), check::CheckProject(project, {data, {}}));
    view.setCurrentCard(2);
    view.scale(1.5, 1.5);
    const QSize size = (view.sceneRect().size() * 1.5).toSize() + QSize(4, 4);
    view.resize(size);
    view.show();
    if (!view.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
