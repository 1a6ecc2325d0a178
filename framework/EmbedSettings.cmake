# kelvane_embed_settings(<exe-target> <settings-text-file>)
#
# After <exe-target> is linked, enciphers the settings text file (UTF-8) and
# attaches it to the program file as resource "BINARY" #4096, the program's
# embedded settings. The program is relinked, and the settings embedded
# again, whenever the settings file changes.
function(kelvane_embed_settings target settings_file)
  get_filename_component(settings_path "${settings_file}" ABSOLUTE)
  add_dependencies(${target} kelvane_settings_cipher)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${settings_path}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND $<TARGET_FILE:kelvane_settings_cipher> embed $<TARGET_FILE:${target}> "${settings_path}"
    COMMENT "Embedding the settings ${settings_file} into ${target}"
    VERBATIM)
endfunction()
