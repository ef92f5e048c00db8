// The shader program built from the real shader pair of the build folder:
// its console lines, the linked program, and uniforms set through it read
// back from OpenGL.

#include "render/ShaderProgram.h"

#include "support/GlWindow.h"
#include "support/TempDir.h"
#include "support/Xvfb.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class ShaderProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openGlWindow("shaders", 64, 64));
        // The program reads "src/Flow.vert" and "src/Flow.frag" relative to
        // the working directory, as the viewer does from the build folder.
        ASSERT_EQ(chdir(QM_BINARY_DIR), 0);
        testing::internal::CaptureStdout();
        program = new ShaderProgram;
        program->load();
        loadOutput = new std::string(testing::internal::GetCapturedStdout());
    }

    static void TearDownTestSuite() {
        delete program;
        delete loadOutput;
    }

    void SetUp() override {
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    static GLint location(const char* name) { return glGetUniformLocationARB(program->program, name); }
    static GLint intUniform(const char* name) {
        GLint value = -12345;
        glGetUniformivARB(program->program, location(name), &value);
        return value;
    }

    static ShaderProgram* program;
    static std::string* loadOutput;
};

ShaderProgram* ShaderProgramTest::program = nullptr;
std::string* ShaderProgramTest::loadOutput = nullptr;

TEST_F(ShaderProgramTest, LoadPrintsItsLinesAndLinksBothShaders) {
    ASSERT_NE(program->vertexShader, 0u);
    ASSERT_NE(program->fragmentShader, 0u);
    EXPECT_NE(program->vertexShader, program->fragmentShader);
    EXPECT_EQ(*loadOutput, "Loading Shaders... \nvertexShader: " + std::to_string(program->vertexShader) +
                               "\nfragmentShader: " + std::to_string(program->fragmentShader) +
                               "\nCompiling vertex shader: \ncompiling succeeded!\n"
                               "Compiling fragment shader: \ncompiling succeeded!\n");

    GLint linked = 0;
    glGetObjectParameterivARB(program->program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    EXPECT_EQ(linked, 1);
    GLhandleARB attached[4] = {0, 0, 0, 0};
    GLsizei count = 0;
    glGetAttachedObjectsARB(program->program, 4, &count, attached);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(attached[0], program->vertexShader);
    EXPECT_EQ(attached[1], program->fragmentShader);
}

TEST_F(ShaderProgramTest, EveryUniformTheViewerSetsIsLiveInTheProgram) {
    for (const char* name :
         {"tex_velocity", "tex_data", "tex_transfer", "tex_arrow", "tex_tfarrow", "background", "mode", "pointSize",
          "arrowSizeModif", "enableArrowTF", "renderTF", "renderArrowTF", "maxVel", "minVel"})
        EXPECT_GE(location(name), 0) << name;
}

TEST_F(ShaderProgramTest, UseAndUnuseSwitchTheProgram) {
    program->use();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, static_cast<GLint>(program->program));
    program->unuse();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(ShaderProgramTest, UniformsSetThroughTheProgramReadBackFromOpenGl) {
    program->use();
    program->setInt("background", 2);
    program->setInt("mode", 1);
    program->setTexture("tex_arrow", 4);
    program->setTexture("tex_tfarrow", 5);
    program->setFloat("pointSize", 12.5f);
    const float maxVel[2] = {1.5f, -2.25f};
    program->setFloat2("maxVel", maxVel);
    program->setFloat2("minVel", -0.75f, 3.0e-7f);
    program->setInt("no_such_uniform", 7);  // location -1: ignored without an error
    program->unuse();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_EQ(intUniform("background"), 2);
    EXPECT_EQ(intUniform("mode"), 1);
    EXPECT_EQ(intUniform("tex_arrow"), 4);
    EXPECT_EQ(intUniform("tex_tfarrow"), 5);
    float value[2] = {0, 0};
    glGetUniformfvARB(program->program, location("pointSize"), value);
    EXPECT_EQ(value[0], 12.5f);
    glGetUniformfvARB(program->program, location("maxVel"), value);
    EXPECT_EQ(value[0], 1.5f);
    EXPECT_EQ(value[1], -2.25f);
    glGetUniformfvARB(program->program, location("minVel"), value);
    EXPECT_EQ(value[0], -0.75f);
    EXPECT_EQ(value[1], 3.0e-7f);

    // A set applies to the program in use: with none, nothing changes.
    program->setInt("background", 1);
    glGetError();
    EXPECT_EQ(intUniform("background"), 2);
}

TEST(ReadTextFile, ReturnsTheWholeTextOrNull) {
    TempDir dir;
    EXPECT_EQ(readTextFile(nullptr), nullptr);
    EXPECT_EQ(readTextFile(dir.file("missing.vert").c_str()), nullptr);
    { std::ofstream empty(dir.file("empty.frag")); }
    EXPECT_EQ(readTextFile(dir.file("empty.frag").c_str()), nullptr);
    const std::string text = "void main()\n{\n\tgl_FragColor = vec4(1.0);\n}\n";
    {
        std::ofstream out(dir.file("one.frag"), std::ios::binary);
        out << text;
    }
    const std::unique_ptr<char[]> read = readTextFile(dir.file("one.frag").c_str());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(read.get()), text);
    EXPECT_EQ(std::strlen(read.get()), text.size());
}

}  // namespace
