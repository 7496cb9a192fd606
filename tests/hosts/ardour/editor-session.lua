-- Builds the session the editor check opens in Ardour's window: one track
-- with Tarvo on it and nothing playing into it, so the editor's meters rest
-- and its picture can be compared with tarvo-snapshot's. Prints the name
-- Ardour gives the plug-in's window in the session file.
--   ardour7-lua editor-session.lua SCRIPT_DIR SESSION_DIR
local script_dir, session_dir = arg[1], arg[2]
dofile (script_dir .. "/common.lua")

local function build ()
	assert (create_session (session_dir, "editor", Check.rate), "cannot create the session")
	local tracks = Session:new_audio_track (2, 2, nil, 1, "Music", ARDOUR.PresentationInfo.max_order,
		ARDOUR.TrackMode.Normal, true)
	local track = tracks:front ()
	local tarvo = ARDOUR.LuaAPI.new_plugin (Session, "Tarvo", ARDOUR.PluginType.VST3, "")
	assert (not tarvo:isnil (), "Ardour does not know the Tarvo VST 3 plug-in")
	track:add_processor_by_index (tarvo, 0, nil, true)
	-- The first run sets the opening values; the host must have heard of them.
	Check.run_for (1500)
	print ("Angle is " .. ARDOUR.LuaAPI.get_processor_param (tarvo, Check.param_index (tarvo, "Angle")))
	print ("window P-" .. track:to_stateful ():id ():to_s () .. "-" .. tarvo:to_stateful ():id ():to_s ())
	assert (Session:save_state ("", false, false, false, false, false) == 0, "cannot save the session")
end

build ()
collectgarbage ()
collectgarbage ()
close_session ()
