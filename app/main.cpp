// Quillmere: an interactive viewer for two-dimensional flow data.

#include "render/Camera.h"
#include "app/CommandLine.h"
#include "app/gl/Batch.h"
#include "app/gl/ControlCallback.h"
#include "app/gl/Globals.h"
#include "app/gl/Messages.h"
#include "app/gl/OpenDataset.h"
#include "app/gl/Window.h"
#include "options/OptionsFile.h"
#include "panel/ControlPanel.h"
#include "panel/DatasetControls.h"
#include "panel/gl/PanelMap.h"
#include "settings/LiveVariables.h"
#include "app/gl/Scene.h"
#include "render/ShaderProgram.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    std::cout << "- Initializing GLUT ..." << std::endl;
    glutInit(&argc, argv);
    glutInitWindowSize(windowWidth, windowHeight);
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

    shaderProgram = std::make_unique<ShaderProgram>();
    shaderProgram->load();
    camera = std::make_unique<Camera>();
    optionsFile = std::make_unique<OptionsFile>(camera.get());
    buildControlPanel(controlCallback);
    controlPanel->setNoticeHandler(reportPanelNotice);
    setPanelMapLines(statusMapLines);
    glutSpecialFunc(specialCallback);
    glutPassiveMotionFunc(passiveMotionCallback);
    glutEntryFunc(entryCallback);

    commandLine = parseCommandLine(argc, argv);
    if (commandLine.has("datafile")) {
        if (openDataset(commandLine.value("datafile"))) {
            closeFileBrowser();
            enableDatasetControls();
        } else {
            statusText = "Error! Only gri-files are permitted.";
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

    loadArrowTexture();
    std::atexit(cleanup);
    glutMainLoop();

    std::cout << "- Main loop terminated." << std::endl << std::endl;
    cleanup();
    return 0;
}
