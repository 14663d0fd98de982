// The star sky: its polyhedron tables, the compiled list and the drawing at the sky's position.
#include "game/OuterSpace.h"

#include "assets/ObjectTexture.h"
#include "platform/Platform.h"

#include <GL/gl.h>

namespace {

// Coordinates of a rhombicuboctahedron of edge 1 in the unit cube's frame: kR is half the root
// of two, as a float, and kOnePlusR is 1 + kR.
const float kR = 0.70710677f;
const float kOnePlusR = 1.7071068f;

const float kVertices[24][3] = {
    {0, -kR, 0},       {-kR, 0, 0},       {-kR, 1, 0},       {0, kOnePlusR, 0}, {1, kOnePlusR, 0},
    {kOnePlusR, 1, 0}, {kOnePlusR, 0, 0}, {1, -kR, 0},       {0, -kR, 1},       {-kR, 0, 1},
    {-kR, 1, 1},       {0, kOnePlusR, 1}, {1, kOnePlusR, 1}, {kOnePlusR, 1, 1}, {kOnePlusR, 0, 1},
    {1, -kR, 1},       {0, 0, kOnePlusR}, {0, 1, kOnePlusR}, {1, 1, kOnePlusR}, {1, 0, kOnePlusR},
    {0, 0, -kR},       {0, 1, -kR},       {1, 1, -kR},       {1, 0, -kR}};

// The order of each face's corners decides which side of it is the front: seen from inside,
// before the reflecting orientation, every face turns counter-clockwise.
const int kQuads[18][4] = {{0, 8, 15, 7},    {1, 9, 8, 0},     {2, 10, 9, 1},   {3, 11, 10, 2},
                           {4, 12, 11, 3},   {5, 13, 12, 4},   {6, 14, 13, 5},  {7, 15, 14, 6},
                           {16, 17, 18, 19}, {8, 16, 19, 15},  {10, 17, 16, 9}, {12, 18, 17, 11},
                           {14, 19, 18, 13}, {20, 23, 22, 21}, {0, 7, 23, 20},  {6, 5, 22, 23},
                           {4, 3, 21, 22},   {2, 1, 20, 21}};

const int kTriangles[8][3] = {{9, 16, 8}, {11, 17, 10}, {13, 18, 12}, {15, 19, 14},
                              {0, 20, 1}, {6, 23, 7},   {4, 22, 5},   {2, 21, 3}};

// Every square shows the whole star image; every triangle a corner half of it.
const float kQuadTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
const float kTriangleTexCoords[3][2] = {{0, 0}, {0, 1}, {1, 1}};

// The polyhedron of edge 1 spans the unit cube grown by kR on every side; this puts its centre
// on the origin.
const float kCentreOffset = -0.5f;

} // namespace

OuterSpace::OuterSpace(ElementContainer* container) : Object3D(container) {
    init();
}

OuterSpace::~OuterSpace() {
    if (iDisplayList != 0) {
        glDeleteLists(iDisplayList, 1);
    }
}

void OuterSpace::update(double) {}

void OuterSpace::init() {
    createDisplayList();
    bActive = false;
}

unsigned OuterSpace::createDisplayList() {
    pTexture = std::make_shared<ObjectTexture>(kTextureFile);
    if (pTexture->createTexture() != 0) {
        platform::debugOutput(
            "OuterSpace::createDisplayList(): texture loaded/created successfully.\n");
    } else {
        platform::debugOutput("OuterSpace::createDisplayList(): could not create/load texture.\n");
    }

    const float ambient[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    iDisplayList = glGenLists(1);
    glNewList(iDisplayList, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Lit by the ambient light alone: the stars look the same from every side.
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, none);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT, GL_EMISSION, none);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    glScalef(kEdge, kEdge, kEdge);
    glTranslatef(kCentreOffset, kCentreOffset, kCentreOffset);
    glBindTexture(GL_TEXTURE_2D, pTexture->getTextureId());
    glBegin(GL_QUADS);
    for (const auto& quad : kQuads) {
        for (int corner = 0; corner < 4; ++corner) {
            glTexCoord2fv(kQuadTexCoords[corner]);
            glVertex3fv(kVertices[quad[corner]]);
        }
    }
    glEnd();
    glBegin(GL_TRIANGLES);
    for (const auto& triangle : kTriangles) {
        for (int corner = 0; corner < 3; ++corner) {
            glTexCoord2fv(kTriangleTexCoords[corner]);
            glVertex3fv(kVertices[triangle[corner]]);
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEndList();
    return iDisplayList;
}

void OuterSpace::draw() {
    glPushMatrix();
    transform();
    if (bVisible) {
        glCallList(iDisplayList);
    }
    glPopMatrix();
}
