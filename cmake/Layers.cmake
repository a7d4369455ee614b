# The folders of the core, one library each, and the folders each one may include and link.
# Dependencies flow one way: a folder uses only folders listed before it, so none depends on a
# folder that depends on it. The build links each library to exactly these folders, and
# cmake/CheckLayers.cmake fails the build (and the test layers.includes) on an #include that is not
# in this table. picture/ (the drawing, with Qt) is checked the same way.
set(VELMORA_CORE_FOLDERS math model structure sim relax text documents figures geometry view measure chart run history)
set(VELMORA_LAYERED_FOLDERS ${VELMORA_CORE_FOLDERS} picture)

set(VELMORA_USES_math)
set(VELMORA_USES_model math)
set(VELMORA_USES_structure math model)
set(VELMORA_USES_sim math model)
set(VELMORA_USES_relax model sim)
set(VELMORA_USES_text model sim structure)
set(VELMORA_USES_documents model sim text)
set(VELMORA_USES_figures math model)
set(VELMORA_USES_geometry model text)
set(VELMORA_USES_view math model figures)
set(VELMORA_USES_measure math model structure sim text figures view)
set(VELMORA_USES_chart math model sim text)
set(VELMORA_USES_run model structure sim relax text documents)
set(VELMORA_USES_history model sim)
set(VELMORA_USES_picture model structure sim text documents figures view measure)
