// Quillmere: an interactive viewer for two-dimensional flow data.

#include "render/Camera.h"
#include "app/CommandLine.h"
#include "app/RuntimeFiles.h"
#include "app/ViewerArguments.h"
#include "app/gl/Batch.h"
#include "app/gl/ColorMapChoice.h"
#include "app/gl/ControlCallback.h"
#include "app/gl/Globals.h"
#include "app/gl/Keys.h"
#include "app/gl/Messages.h"
#include "app/gl/OpenDataset.h"
#include "app/gl/Placements.h"
#include "app/gl/TimeSteps.h"
#include "app/gl/Window.h"
#include "options/OptionsFile.h"
#include "panel/ControlPanel.h"
#include "panel/DatasetControls.h"
#include "panel/gl/PanelGlut.h"
#include "panel/gl/PanelMap.h"
#include "settings/LiveVariables.h"
#include "app/gl/Scene.h"
#include "common/Usage.h"
#include "render/ShaderProgram.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {
// Prints the command line's problems; the viewer carries on without them.
void reportArgumentProblems(const ViewerArguments& arguments) {
    for (const std::string& problem : arguments.problems) std::cerr << problem << std::endl;
    if (!arguments.problems.empty()) std::cerr << "Run 'quillmere --help' for the options." << std::endl;
}
}  // namespace

int main(int argc, char** argv) {
    // Help and version need no display: answered before GLUT opens one.
    const ViewerArguments given = readViewerArguments(argc, argv);
    if (given.help) {
        std::cout << viewerHelp();
        return 0;
    }
    if (given.version) {
        std::cout << versionLine("quillmere");
        return 0;
    }
    beginBatchRun(given);
    if (isBatchRun() && !given.line.has("screenshot")) {
        // Nothing could be saved: a batch run without a file name ends here.
        std::cerr << missingValue("screenshot") << std::endl;
        return 1;
    }

    // The dataset is read while the GL starts up; its lines come out in
    // their place all the same.
    if (given.line.has("datafile")) prefetchDataset(given.line.value("datafile"));

    std::cout << "- Initializing GLUT ..." << std::endl;
    // Before glutInit, so that GLUT's own -geometry WxH overrides it.
    glutInitWindowSize(windowWidth, windowHeight);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH);
    // Closing the window ends the process through exit, so cleanup runs.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    mainWindow = glutCreateWindow("Flow Visualization Application");
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 1024, 700);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glutSwapBuffers();
    glutDisplayFunc(displayCallback);
    glutReshapeFunc(reshapeCallback);
    glutMouseFunc(mouseCallback);
    glutMotionFunc(motionCallback);
    glutKeyboardFunc(keyboardCallback);
    std::cout << "- GLUT initialized." << std::endl << std::endl;

    std::cout << "- Initializing GLEW ..." << std::endl;
    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        std::cerr << "Error initializing GLEW: " << glewGetErrorString(glewStatus) << std::endl;
        return 1;
    }
    std::cout << "- GLEW initialized." << std::endl << std::endl;

    std::cout << "- Initializing DevIL ..." << std::endl;
    ilInit();
    if (ilGetError() != IL_NO_ERROR) {
        std::cerr << "Error initializing DevIL" << std::endl;
        return 1;
    }
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    std::cout << "- DevIL initialized." << std::endl << std::endl;

    const std::vector<std::string> folders = runtimeFolders();
    const std::vector<std::string> shaderFiles = {ShaderProgram::vertexFile, ShaderProgram::fragmentFile};
    const FoundFiles shaders = findRuntimeFiles(folders, shaderFiles);
    if (!shaders.found) std::cerr << lookedFor(folders, shaderFiles) << std::endl;
    shaderProgram = std::make_unique<ShaderProgram>();
    // Missing shaders end an interactive run with 0, as they always did.
    shaderProgram->load(shaders.folder, isBatchRun() ? 1 : 0);
    camera = std::make_unique<Camera>();
    optionsFile = std::make_unique<OptionsFile>(camera.get());
    buildControlPanel(controlCallback, colorMapButtons());
    controlPanel->setNoticeHandler(reportPanelNotice);
    setPanelMapLines(statusMapLines);
    glutSpecialFunc(specialCallback);
    setHorizontalArrowHandler(stepByArrow);
    glutPassiveMotionFunc(passiveMotionCallback);
    setPanelBusyCheck(placing);
    glutEntryFunc(entryCallback);

    // Read again without the options GLUT took for itself.
    const ViewerArguments arguments = readViewerArguments(argc, argv);
    reportArgumentProblems(arguments);
    commandLine = arguments.line;
    readFitOption();
    if (commandLine.has("datafile")) {
        if (openDataset(commandLine.value("datafile"))) {
            closeFileBrowser();
            enableDatasetControls();
        } else {
            statusText = "Error! Only gri-files are permitted.";
            // The window shows the status line; a script reads standard error.
            if (isBatchRun()) std::cerr << "Dataset not opened: " << commandLine.value("datafile") << std::endl;
            reportOpenFailure(commandLine.value("datafile"));
        }
    }
    applyBatchOptions();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    std::cout << "- Entering main loop ..." << std::endl << std::endl;

    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);

    const std::vector<std::string> imageFiles = {kArrowImageFile};
    const FoundFiles image = findRuntimeFiles(folders, imageFiles);
    if (!image.found) std::cerr << lookedFor(folders, imageFiles) << std::endl;
    loadArrowTexture(image.folder);
    std::atexit(cleanup);
    // From here on the window answers while lines are placed; a batch run
    // waits for every placement, as the start-up did.
    if (!isBatchRun()) placeInBackground();
    glutMainLoop();

    std::cout << "- Main loop terminated." << std::endl << std::endl;
    cleanup();
    return 0;
}
