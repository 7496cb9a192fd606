-- Builds the session the way a user does, with the engine running: a track
-- with a tone into Tarvo, a second track whose tone feeds Tarvo's sidechain
-- through a send, "Ext Sidechain" switched on last. Exports once, the key
-- tone loud in the first half and silent in the second, then saves. One
-- export per Ardour run: a second one in the same run is what crashes
-- Ardour most often.
--   ardour7-lua sidechain-live.lua SCRIPT_DIR SESSION_DIR EXPORT_DIR
local script_dir, session_dir, export_dir = arg[1], arg[2], arg[3]
dofile (script_dir .. "/common.lua")

local function build_and_export ()
	assert (create_session (session_dir, "sidechain", Check.rate), "cannot create the session")
	local tracks = Session:new_audio_track (2, 2, nil, 2, "Track", ARDOUR.PresentationInfo.max_order,
		ARDOUR.TrackMode.Normal, true)
	local main, side = tracks:front (), tracks:back ()
	for t in tracks:iter () do
		t:monitoring_control ():set_value (ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)
	end
	main:set_name ("Music")
	side:set_name ("Key")

	local function tone (route, frequency, level)
		local g = ARDOUR.LuaAPI.new_luaproc (Session, "Tarvo Check Tone")
		assert (not g:isnil (), "the tone script is not installed")
		route:add_processor_by_index (g, 0, nil, true)
		ARDOUR.LuaAPI.set_processor_param (g, 0, frequency)
		ARDOUR.LuaAPI.set_processor_param (g, 1, level)
		return g
	end
	tone (main, 220, 0.25)
	local key = tone (side, 1000, Check.loud)

	local tarvo = ARDOUR.LuaAPI.new_plugin (Session, "Tarvo", ARDOUR.PluginType.VST3, "")
	assert (not tarvo:isnil (), "Ardour does not know the Tarvo VST 3 plug-in")
	main:add_processor_by_index (tarvo, 1, nil, true)
	-- Plays for a while with nothing on the sidechain, as after inserting it.
	Check.run_for (1000)

	-- The key track is heard only through the sidechain: a pre-fader send
	-- feeds it, its own output goes nowhere.
	local send = ARDOUR.LuaAPI.new_send (Session, side, side:amp ())
	assert (not send:isnil (), "cannot add the sidechain send")
	side:output ():disconnect_all (nil)
	assert (main:add_sidechain (tarvo), "cannot add a sidechain input to Tarvo")
	local sc = tarvo:to_plugininsert ():sidechain_input ()
	local out = send:to_send ():output ()
	local n = math.min (out:n_ports ():n_audio (), sc:n_ports ():n_audio ())
	assert (n > 0, "the sidechain input has no audio ports")
	for i = 0, n - 1 do
		out:audio (i):connect (sc:audio (i):name ())
	end
	Check.run_for (500)

	local ext = Check.param_index (tarvo, "Ext Sidechain")
	ARDOUR.LuaAPI.set_processor_param (tarvo, ext, 1)
	Check.run_for (500)
	print ("Ext Sidechain is " .. ARDOUR.LuaAPI.get_processor_param (tarvo, ext))

	Check.key_automation (key)
	Check.export (export_dir, "live")
	assert (Session:save_state ("", false, false, false, false, false) == 0, "cannot save the session")
end

build_and_export ()
-- Ardour objects held by Lua must go before the session does.
collectgarbage ()
collectgarbage ()
close_session ()
