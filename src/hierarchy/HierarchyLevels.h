#pragma once
// The level codes of a side's unit hierarchy and the shared rules of its
// tree pictures.
//
// Level codes: element 1, platoon 2, company 4, battalion 8. They choose the
// formation templates and AI orders a level is offered, the symbol variants
// and the leader qualification a container looks for.
//
// Tree pictures: the tree's picture list holds eight pictures for each name
// of the hierarchy's symbol-name list (a symbol type followed by " vehicle",
// " platoon" or " company"), at 8 x i to 8 x i + 7, then eight for the
// mounted state at 8 x n and the destroyed picture at 8 x n + 8 (n names).
// Within a group: 0 plain, 1 platoon leader, 2 company leader, 3 detached
// (or a container without a leader), 4 to 7 the same with the lock marker.
//
// A container tells its children apart by their run-time class name, never
// by a cast through a base: a company's and a battalion's children are
// elements, platoons and companies side by side in one array.

#include "platform/core/Object.h"

constexpr int HIERARCHY_ELEMENT = 1;
constexpr int HIERARCHY_PLATOON = 2;
constexpr int HIERARCHY_COMPANY = 4;
constexpr int HIERARCHY_BATTALION = 8;

// Offsets within a group of eight tree pictures.
constexpr int TREE_IMAGES_PER_NAME = 8;
constexpr int TREE_IMAGE_PLATOON_LEADER = 1;
constexpr int TREE_IMAGE_COMPANY_LEADER = 2;
constexpr int TREE_IMAGE_DETACHED = 3;
constexpr int TREE_IMAGE_MARKED = 4;

// The words appended to a symbol type in the symbol-name list.
extern const char* const SYMBOL_SUFFIX_VEHICLE;  // " vehicle"
extern const char* const SYMBOL_SUFFIX_PLATOON;  // " platoon"
extern const char* const SYMBOL_SUFFIX_COMPANY;  // " company"

// The run-time class names the containers compare.
extern const char* const CLASS_NAME_ELEMENT;  // "CHierarchyElement"
extern const char* const CLASS_NAME_PLATOON;  // "CHierarchyPlatoon"
extern const char* const CLASS_NAME_COMPANY;  // "CHierarchyCompany"

class CHierarchyElement;
class CHierarchyPlatoon;
class CHierarchyCompany;

// The object when its run-time class name is exactly that one, else null.
BOOL HasClassName(const CObject* pObject, const char* className);
CHierarchyElement* AsElement(CObject* pObject);
CHierarchyPlatoon* AsPlatoon(CObject* pObject);
CHierarchyCompany* AsCompany(CObject* pObject);
// A platoon, company or battalion (any container level), else null.
CHierarchyPlatoon* AsContainer(CObject* pObject);
