-- Reopens the saved session and exports it again; the key tone's automation
-- plays back as it did before saving.
--   ardour7-lua sidechain-reopen.lua SCRIPT_DIR SESSION_DIR EXPORT_DIR
local script_dir, session_dir, export_dir = arg[1], arg[2], arg[3]
dofile (script_dir .. "/common.lua")

local function reopen_and_export ()
	assert (load_session (session_dir, "sidechain"), "cannot reopen the session")
	local main, side = Session:route_by_name ("Music"), Session:route_by_name ("Key")
	assert (not main:isnil () and not side:isnil (), "the reopened session lost its tracks")
	Check.processor (side, "Tarvo Check Tone")
	local tarvo = Check.processor (main, "Tarvo")
	local on = ARDOUR.LuaAPI.get_processor_param (tarvo, Check.param_index (tarvo, "Ext Sidechain"))
	print ("Ext Sidechain is " .. on)
	assert (on > 0.5, "Ext Sidechain was not restored")
	Check.run_for (500)
	Check.export (export_dir, "reopened")
end

reopen_and_export ()
collectgarbage ()
collectgarbage ()
close_session ()
