ardour {
	["type"]    = "dsp",
	name        = "Tarvo Check Tone",
	category    = "Utility",
	license     = "GPL-3.0-or-later",
	author      = "Tarvo",
	description = [[A steady sine at a set frequency and linear level on every output, replacing the input]]
}

-- The signal source of the host check: ardour7-lua cannot import audio
-- files, so each track makes its own tone. Level 0 is exact silence.

function dsp_params ()
	return {
		{ ["type"] = "input", name = "Frequency", min = 20, max = 20000, default = 220, unit = "Hz" },
		{ ["type"] = "input", name = "Level", min = 0, max = 1, default = 0.25 },
	}
end

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local rate = 48000
local phase = 0

function dsp_init (r)
	rate = r
end

function dsp_run (ins, outs, n_samples)
	local ctrl = CtrlPorts:array ()
	local step = ctrl[1] / rate
	local level = ctrl[2]
	local out = outs[1]:array ()
	for s = 1, n_samples do
		out[s] = level * math.sin (2 * math.pi * phase)
		phase = phase + step
		if phase >= 1 then phase = phase - 1 end
	end
	for c = 2, #outs do
		ARDOUR.DSP.copy_vector (outs[c]:offset (0), outs[1]:offset (0), n_samples)
	end
end
