#include "Shader.h"

#include "GLTest.h"

#include <cmath>
#include <epoxy/gl.h>
#include <gmock/gmock.h>

namespace kinora::test {
namespace {

const char* const minimalVertex = "#version 150 core\n"
                                  "in vec3 vPosition;\n"
                                  "void main() { gl_Position = vec4(vPosition, 1.0); }\n";
const char* const colourOnlyFragment = "#version 150 core\n"
                                       "out vec4 fragColor;\n"
                                       "void main() { fragColor = vec4(1.0); }\n";
const char* const idOnlyFragment = "#version 150 core\n"
                                   "out vec4 fragID;\n"
                                   "void main() { fragID = vec4(1.0); }\n";

// Every program and shader object alive in the context: what a failed load must not add to.
int liveProgramAndShaderObjects() {
    int count = 0;
    for (GLuint name = 1; name < 4096; ++name) {
        count += (glIsProgram(name) ? 1 : 0) + (glIsShader(name) ? 1 : 0);
    }
    return count;
}

// The info log GL gives for source, compiled on its own.
std::string compileLog(GLenum type, const std::string& source) {
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length), '\0');
    GLsizei written = 0;
    glGetShaderInfoLog(shader, length, &written, log.data());
    log.resize(static_cast<std::size_t>(written));
    glDeleteShader(shader);
    return log;
}

std::string loadFailure(const std::string& vertexPath, const std::string& fragmentPath) {
    Shader shader;
    try {
        shader.load(vertexPath, fragmentPath);
    } catch (const ShaderError& error) {
        EXPECT_FALSE(shader.linked);
        EXPECT_EQ(shader.program, 0u);
        return error.what();
    }
    ADD_FAILURE() << "the load did not fail";
    return {};
}

using ShaderTest = GLTest;

TEST_F(ShaderTest, OwnsItsLinkedProgramAndNothingElse) {
    GLuint program = 0;
    GLuint attached[2] = {0, 0};
    {
        Shader shader;
        EXPECT_FALSE(shader.linked);
        EXPECT_EQ(shader.program, 0u);
        shader.load(shaderPath("basic.vsh"), shaderPath("color_flat.fsh"));
        ASSERT_TRUE(shader.linked);
        program = shader.program;
        EXPECT_TRUE(glIsProgram(program));

        // The stages are already flagged for deletion and go with the program.
        GLsizei count = 0;
        glGetAttachedShaders(program, 2, &count, attached);
        ASSERT_EQ(count, 2);
        for (GLuint stage : attached) {
            GLint flagged = GL_FALSE;
            glGetShaderiv(stage, GL_DELETE_STATUS, &flagged);
            EXPECT_EQ(flagged, GL_TRUE);
        }
    }
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(attached[0]));
    EXPECT_FALSE(glIsShader(attached[1]));
}

TEST_F(ShaderTest, CompileFailuresNameTheFileAndCarryTheLogAndLeaveNothingBehind) {
    const std::string brokenSource = "#version 150 core\nout vec4 fragColor;\nvoid main() { "
                                     "fragColor = undeclared; }\n";
    const std::string vertexPath = writeFile("minimal.vsh", minimalVertex);
    const std::string brokenPath = writeFile("broken.fsh", brokenSource);
    const std::string log = compileLog(GL_FRAGMENT_SHADER, brokenSource);
    ASSERT_FALSE(log.empty());
    const int before = liveProgramAndShaderObjects();

    EXPECT_EQ(loadFailure(vertexPath, brokenPath),
              "Shader Compile Failed: " + brokenPath + "\n    " + log);
    EXPECT_EQ(liveProgramAndShaderObjects(), before);

    // A broken vertex stage is reported before the fragment file is even looked at.
    const std::string brokenVertexSource = "#version 150 core\nvoid main() { gl_Position = 1; }\n";
    const std::string brokenVertexPath = writeFile("broken.vsh", brokenVertexSource);
    EXPECT_EQ(loadFailure(brokenVertexPath, "/no/such/fragment.fsh"),
              "Shader Compile Failed: " + brokenVertexPath + "\n    " +
                  compileLog(GL_VERTEX_SHADER, brokenVertexSource));
    EXPECT_EQ(liveProgramAndShaderObjects(), before);
}

TEST_F(ShaderTest, LinkFailuresNameBothFilesWithoutALog) {
    // A stage without main compiles on its own; only the link finds it missing.
    const std::string vertexPath = writeFile("minimal.vsh", minimalVertex);
    const std::string fragmentPath = writeFile("nomain.fsh", "#version 150 core\n"
                                                             "out vec4 fragColor;\n"
                                                             "void paint() { fragColor = "
                                                             "vec4(1.0); }\n");
    const int before = liveProgramAndShaderObjects();

    EXPECT_EQ(loadFailure(vertexPath, fragmentPath),
              "Shader Link Failed: " + vertexPath + ", " + fragmentPath);
    EXPECT_EQ(liveProgramAndShaderObjects(), before);
}

TEST_F(ShaderTest, FilesThatCannotBeReadFailLikeACompileWithAReason) {
    const std::string vertexPath = writeFile("minimal.vsh", minimalVertex);
    const std::string missing = vertexPath + ".missing";
    const std::string folder = vertexPath.substr(0, vertexPath.rfind('/'));
    const int before = liveProgramAndShaderObjects();

    EXPECT_EQ(loadFailure(vertexPath, missing),
              "Shader Compile Failed: " + missing + "\n    The file cannot be opened.");
    EXPECT_EQ(loadFailure(folder, vertexPath),
              "Shader Compile Failed: " + folder + "\n    The path is not a regular file.");
    EXPECT_EQ(liveProgramAndShaderObjects(), before);
}

TEST_F(ShaderTest, ReadsFilesWholeAndLetsTheCompilerJudgeAnEmptyOne) {
    const std::string text = std::string("line one\r\nline two\n\0after a NUL", 31);
    EXPECT_EQ(Shader::readFile(writeFile("text.fsh", text)), text);

    const std::string emptyPath = writeFile("empty.fsh", "");
    EXPECT_EQ(Shader::readFile(emptyPath), "");
    const std::string message = loadFailure(writeFile("minimal.vsh", minimalVertex), emptyPath);
    const std::string prefix = "Shader Compile Failed: " + emptyPath + "\n    ";
    EXPECT_EQ(message, prefix + compileLog(GL_FRAGMENT_SHADER, ""));
    EXPECT_GT(message.size(), prefix.size()) << "the compiler's own log follows";
}

TEST_F(ShaderTest, BindsFragColorToColourZeroAndFragIDToColourOneInEveryProgram) {
    const std::string vertexPath = writeFile("minimal.vsh", minimalVertex);
    Shader colourOnly;
    colourOnly.load(vertexPath, writeFile("colour.fsh", colourOnlyFragment));
    Shader idOnly;
    idOnly.load(vertexPath, writeFile("id.fsh", idOnlyFragment));
    const auto both = loadProgram("basic.vsh", "white_pick.fsh");

    EXPECT_EQ(glGetFragDataLocation(colourOnly.program, "fragColor"), 0);
    EXPECT_EQ(glGetFragDataLocation(idOnly.program, "fragID"), 1);
    EXPECT_EQ(glGetFragDataLocation(both->program, "fragColor"), 0);
    EXPECT_EQ(glGetFragDataLocation(both->program, "fragID"), 1);
}

TEST_F(ShaderTest, UndeclaredUniformsAreSilentlySkipped) {
    const auto shader = loadProgram("basic.vsh", "color_flat.fsh");
    shader->use();
    EXPECT_FALSE(shader->hasUniform("aspectRatio"));
    EXPECT_EQ(shader->uniformLocation("aspectRatio"), -1);
    EXPECT_FALSE(shader->hasAttribute("vColour"));
    EXPECT_EQ(shader->attributeLocation("vColour"), -1);
    EXPECT_TRUE(shader->hasUniform("modelMatrix"));
    EXPECT_TRUE(shader->hasAttribute("vPosition"));

    const float matrix[16] = {};
    shader->setUniform1f("aspectRatio", 1.0f);
    shader->setUniform1i("objectID", 3);
    shader->setUniformMatrix4fv("inverseModelMatrix", 1, false, matrix);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// One uniform of every type the setters cover, each summed into the output so none is dropped.
const char* const everyUniformFragment =
    "#version 150 core\n"
    "uniform float f1; uniform vec2 f2; uniform vec3 f3; uniform vec4 f4;\n"
    "uniform int i1; uniform ivec2 i2; uniform ivec3 i3; uniform ivec4 i4;\n"
    "uniform float fa1[2]; uniform vec2 fa2[2]; uniform vec3 fa3[2]; uniform vec4 fa4[2];\n"
    "uniform int ia1[2]; uniform ivec2 ia2[2]; uniform ivec3 ia3[2]; uniform ivec4 ia4[2];\n"
    "uniform mat2 m2; uniform mat3 m3; uniform mat4 m4;\n"
    "uniform mat2x3 m23; uniform mat3x2 m32; uniform mat2x4 m24;\n"
    "uniform mat4x2 m42; uniform mat3x4 m34; uniform mat4x3 m43;\n"
    "out vec4 fragColor;\n"
    "void main() {\n"
    "  float s = f1 + f2.y + f3.z + f4.w + float(i1 + i2.y + i3.z + i4.w);\n"
    "  s += fa1[1] + fa2[1].y + fa3[1].z + fa4[1].w;\n"
    "  s += float(ia1[1] + ia2[1].y + ia3[1].z + ia4[1].w);\n"
    "  s += m2[1][1] + m3[2][2] + m4[3][3] + m23[1][2] + m32[2][1] + m24[1][3];\n"
    "  s += m42[3][1] + m34[2][3] + m43[3][2];\n"
    "  fragColor = vec4(s);\n"
    "}\n";

std::vector<float> floatsOf(const Shader& shader, const char* name, int count) {
    std::vector<float> values(static_cast<std::size_t>(count));
    glGetUniformfv(shader.program, shader.uniformLocation(name), values.data());
    return values;
}

std::vector<int> intsOf(const Shader& shader, const char* name, int count) {
    std::vector<int> values(static_cast<std::size_t>(count));
    glGetUniformiv(shader.program, shader.uniformLocation(name), values.data());
    return values;
}

TEST_F(ShaderTest, EverySetterReachesTheUniformOfItsOwnType) {
    using ::testing::ElementsAre;
    using ::testing::ElementsAreArray;
    Shader shader;
    shader.load(writeFile("minimal.vsh", minimalVertex),
                writeFile("every.fsh", everyUniformFragment));
    shader.use();

    shader.setUniform1f("f1", 1.5f);
    shader.setUniform2f("f2", 1, 2);
    shader.setUniform3f("f3", 1, 2, 3);
    shader.setUniform4f("f4", 1, 2, 3, 4);
    shader.setUniform1i("i1", 7);
    shader.setUniform2i("i2", 7, 8);
    shader.setUniform3i("i3", 7, 8, 9);
    shader.setUniform4i("i4", 7, 8, 9, 10);
    EXPECT_THAT(floatsOf(shader, "f1", 1), ElementsAre(1.5f));
    EXPECT_THAT(floatsOf(shader, "f2", 2), ElementsAre(1, 2));
    EXPECT_THAT(floatsOf(shader, "f3", 3), ElementsAre(1, 2, 3));
    EXPECT_THAT(floatsOf(shader, "f4", 4), ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(intsOf(shader, "i1", 1), ElementsAre(7));
    EXPECT_THAT(intsOf(shader, "i2", 2), ElementsAre(7, 8));
    EXPECT_THAT(intsOf(shader, "i3", 3), ElementsAre(7, 8, 9));
    EXPECT_THAT(intsOf(shader, "i4", 4), ElementsAre(7, 8, 9, 10));

    // Arrays of two: the second element must arrive too.
    float floats[16];
    int ints[8];
    for (int i = 0; i < 16; ++i) {
        floats[i] = static_cast<float>(i) + 0.25f;
    }
    for (int i = 0; i < 8; ++i) {
        ints[i] = 100 + i;
    }
    shader.setUniform1fv("fa1", 2, floats);
    shader.setUniform2fv("fa2", 2, floats);
    shader.setUniform3fv("fa3", 2, floats);
    shader.setUniform4fv("fa4", 2, floats);
    shader.setUniform1iv("ia1", 2, ints);
    shader.setUniform2iv("ia2", 2, ints);
    shader.setUniform3iv("ia3", 2, ints);
    shader.setUniform4iv("ia4", 2, ints);
    for (int components = 1; components <= 4; ++components) {
        const std::string floatName = "fa" + std::to_string(components) + "[1]";
        const std::string intName = "ia" + std::to_string(components) + "[1]";
        const auto n = static_cast<std::size_t>(components);
        EXPECT_THAT(floatsOf(shader, floatName.c_str(), components),
                    ElementsAreArray(floats + n, n))
            << floatName;
        EXPECT_THAT(intsOf(shader, intName.c_str(), components), ElementsAreArray(ints + n, n))
            << intName;
    }

    // Matrices keep the column-major order unless asked to transpose.
    shader.setUniformMatrix4fv("m4", 1, false, floats);
    EXPECT_THAT(floatsOf(shader, "m4", 16), ElementsAreArray(floats, 16));
    shader.setUniformMatrix2fv("m2", 1, true, floats);
    EXPECT_THAT(floatsOf(shader, "m2", 4), ElementsAre(floats[0], floats[2], floats[1], floats[3]));
    const struct {
        void (Shader::*setter)(const char*, int, bool, const float*) const;
        const char* name;
        int size;
    } matrices[] = {
        {&Shader::setUniformMatrix3fv, "m3", 9},    {&Shader::setUniformMatrix2x3fv, "m23", 6},
        {&Shader::setUniformMatrix3x2fv, "m32", 6}, {&Shader::setUniformMatrix2x4fv, "m24", 8},
        {&Shader::setUniformMatrix4x2fv, "m42", 8}, {&Shader::setUniformMatrix3x4fv, "m34", 12},
        {&Shader::setUniformMatrix4x3fv, "m43", 12}};
    for (const auto& matrix : matrices) {
        (shader.*matrix.setter)(matrix.name, 1, false, floats);
        EXPECT_THAT(floatsOf(shader, matrix.name, matrix.size),
                    ElementsAreArray(floats, static_cast<std::size_t>(matrix.size)))
            << matrix.name;
    }
}

} // namespace
} // namespace kinora::test
