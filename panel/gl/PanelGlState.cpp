#include "panel/gl/PanelGlState.h"

#include <GL/glew.h>

PanelGlState::PanelGlState(int windowWidth, int windowHeight) {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    program_ = program;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);

    glUseProgram(0);
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    for (GLint unit = units - 1; unit >= 0; --unit) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_1D, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_1D);
        glDisable(GL_TEXTURE_2D);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SPRITE);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_FOG);
    glViewport(0, 0, windowWidth, windowHeight);
}

PanelGlState::~PanelGlState() {
    glPopClientAttrib();
    glPopAttrib();
    glUseProgram(static_cast<GLuint>(program_));
}
